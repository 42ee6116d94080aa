#pragma once
// The rows of a file of measured ages (observedages.h) split into groups by the value of one
// column: a site, a sample name, a study. A compilation of many sites is fitted group by group,
// each group read on its own by the ages reader, so that a row one reader refuses refuses its own
// group only.
//
//     const ObservedGroups groups = groupObservedRows(text, "compilation.csv", "site");
//     for (const ObservedGroup& group : groups.groups)
//         parseObservedAges(std::istringstream(groupText(group)), "compilation.csv");
//
// The column is found by its header name in any case, as the reader finds its own; it may be a
// column the reader ignores or one of its own (sample). Groups come in the order their first row
// has in the file. A group's text is the header and its own rows at their lines of the file, the
// other lines left blank (a blank line is a comment to the reader), so that the reader's messages
// name the file's own line numbers. A row whose field of the column is empty (or that has too few
// fields to hold one) goes to the group with the empty name, which the batch refuses.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

struct ObservedRow {
    int line = 0; // of the file, from 1
    std::string text; // the line without its end
};

struct ObservedGroup {
    std::string name; // the column's value, blanks and quotes around it removed
    std::string column; // the column, as the header names it
    int headerLine = 0;
    std::string header; // the header line, shared by every group
    std::vector<ObservedRow> rows; // in the file's order
};

struct ObservedGroups {
    std::string column; // as the header names it
    std::vector<ObservedGroup> groups;
};

// Throws ObservedAgesError when the text has no header or the header no such column (naming the
// columns it has), or a line is too long; every other problem of a row is the reader's, in its
// group.
ObservedGroups groupObservedRows(
    std::istream& text, std::string_view fileName, std::string_view column);

// The text the ages reader reads for one group (see above).
std::string groupText(const ObservedGroup& group);

// The header and the group's rows, one per line, without the file's line numbers: what the
// group's fit reads, for a hash of its inputs.
std::string groupContent(const ObservedGroup& group);

} // namespace ages
