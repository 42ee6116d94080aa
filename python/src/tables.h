#pragma once
// A table of the ages library (its list of columns, agetable.h) as Python columns: a dict from
// column name to a float64 array (number columns, NaN where the CSV leaves a field empty) or a
// list of str (text columns, bytes that are not UTF-8 replaced: usertext.h), in the columns'
// order. The package turns it into a DataFrame.

#include "arrays.h"
#include "usertext.h"

#include "agetable.h"

#include <span>
#include <variant>
#include <vector>

namespace erosion_python {

template <class Row>
py::dict tableColumns(std::span<const ages::TableColumn<Row>> columns, const std::vector<Row>& rows)
{
    py::dict table;
    for (const ages::TableColumn<Row>& column : columns) {
        std::vector<double> numbers;
        py::list texts;
        for (const Row& row : rows) {
            ages::TableValue value = column.value(row);
            if (const double* number = std::get_if<double>(&value))
                numbers.push_back(*number);
            else if (const ages::FullNumber* full = std::get_if<ages::FullNumber>(&value))
                numbers.push_back(full->value);
            else
                texts.append(userText(std::get<std::string>(value)));
        }
        const py::str name(std::string(column.name));
        if (!numbers.empty() || texts.empty())
            table[name] = toArray(std::move(numbers));
        else
            table[name] = texts;
    }
    return table;
}

} // namespace erosion_python
