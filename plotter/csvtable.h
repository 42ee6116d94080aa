#pragma once
// CsvTable: one of the suite's CSV tables (ages, measured ages, misfit curves, cooling paths),
// read whole for a viewer.
//
// The tables have one header row of column names; viewers find their columns by name, in any
// order, and ignore columns they do not know. Lines that start with '#' are comments (an example
// file says in them how it was made) and blank lines are skipped. Fields are separated by commas,
// blanks around a field are dropped, and a field may be quoted with double quotes. Numbers are
// read strictly: the whole field must be a finite decimal number. Every failure is one line that
// names the file, and the line and column where there is one.
//
//   const CsvTable ages = CsvTable::read(path);                 // throws CsvError
//   const int age = ages.column("age_ma");                      // throws when missing
//   for (int row = 0; row < ages.rowCount(); ++row)
//       if (const std::optional<double> a = ages.number(row, age)) ...

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

// A table that cannot be read or does not hold what is asked of it; what() is the whole message.
class CsvError : public std::runtime_error {
public:
    explicit CsvError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

class CsvTable {
public:
    // The table in the file at path. Throws CsvError when the file cannot be read or has no
    // header row.
    static CsvTable read(const QString& path);
    // The table in text, as if read from a file named name (for messages).
    static CsvTable parse(const QString& text, const QString& name);

    const QString& name() const { return m_name; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool hasColumn(const QString& column) const { return m_header.contains(column); }
    // The index of the column with that header name; throws CsvError naming the file and the
    // column when there is none.
    int column(const QString& column) const;
    QString columnName(int column) const { return m_header.value(column); }

    // The field in row (0 = the first row after the header) and column; empty past the end of a
    // short row.
    QString text(int row, int column) const;
    // The field as a number; nothing when it is empty. Throws CsvError with the file's line
    // number and the column's name when the field is not a finite decimal number.
    std::optional<double> number(int row, int column) const;
    // The line of the file on which row stands (1 = the first line).
    int lineOf(int row) const { return m_lines[static_cast<std::size_t>(row)]; }

private:
    QString m_name;
    QStringList m_header;
    std::vector<QStringList> m_rows;
    std::vector<int> m_lines;
};

// The fields of one CSV line: split at commas outside double quotes, blanks around each field
// removed, the quotes taken off ("" inside quotes is one quote).
QStringList splitCsvLine(const QString& line);
