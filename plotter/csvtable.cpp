#include "csvtable.h"

#include <QFile>

#include <charconv>
#include <cmath>

namespace {

constexpr QChar commentMark = u'#';
constexpr QChar quoteMark = u'"';
constexpr QChar separator = u',';

// A strictly read decimal number: the whole text, finite, "." as the decimal point.
std::optional<double> strictNumber(const QString& field)
{
    const QByteArray bytes = field.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+') // from_chars takes no plus sign
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QStringList splitCsvLine(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == quoteMark && i + 1 < line.size() && line[i + 1] == quoteMark) {
                field += quoteMark;
                ++i;
            } else if (c == quoteMark) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == quoteMark) {
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

CsvTable CsvTable::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw CsvError(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CsvError(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    return parse(QString::fromUtf8(bytes), path);
}

CsvTable CsvTable::parse(const QString& text, const QString& name)
{
    CsvTable table;
    table.m_name = name;
    const QStringList lines = text.split(u'\n');
    bool haveHeader = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(commentMark))
            continue;
        const QStringList fields = splitCsvLine(line);
        if (!haveHeader) {
            table.m_header = fields;
            haveHeader = true;
            continue;
        }
        table.m_rows.push_back(fields);
        table.m_lines.push_back(static_cast<int>(i + 1));
    }
    if (!haveHeader)
        throw CsvError(
            QStringLiteral("'%1' is empty: a header row of column names is needed").arg(name));
    return table;
}

int CsvTable::column(const QString& column) const
{
    const qsizetype index = m_header.indexOf(column);
    if (index < 0)
        throw CsvError(QStringLiteral("'%1' has no column '%2'").arg(m_name, column));
    return static_cast<int>(index);
}

QString CsvTable::text(int row, int column) const
{
    const QStringList& fields = m_rows[static_cast<std::size_t>(row)];
    return column >= 0 && column < fields.size() ? fields[column] : QString();
}

std::optional<double> CsvTable::number(int row, int column) const
{
    const QString field = text(row, column);
    if (field.isEmpty())
        return std::nullopt;
    const std::optional<double> value = strictNumber(field);
    if (!value)
        throw CsvError(QStringLiteral("'%1' line %2: '%3' in column '%4' is not a number")
                           .arg(m_name)
                           .arg(lineOf(row))
                           .arg(field, m_header.value(column)));
    return value;
}
