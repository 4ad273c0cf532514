#pragma once

#include "data/SpreadsheetWriter.h"

#include <QList>
#include <QStringList>

using Sheet_Facts = QList<Workbook_Row>;

// The place among the rows of the row that holds a sheet's titles; -1 when no row holds a value. Many lists
// begin with a heading of one or two rows, which makes no card; the titles then stand under it. A heading is
// found only from what a guest's row cannot show: a cell merged across the table, one or two rows at the top
// set apart from the titles by an empty row, or one cell directly over titles of several columns. Titles
// are text: a row holding a number, a date, a truth value, a formula or an address is never the titles. Where
// nothing shows a heading the first row holding a value holds the titles. Facts as the reader gives them, one
// per row; without them every cell counts as text and the rows as consecutive.
qsizetype foundTitleRow(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts);

// The cells of the row at this place as a person reads them: a cell in a date format as a date, not as the
// number it stores.
QStringList shownCells(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, qsizetype place);
