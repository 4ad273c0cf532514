#pragma once

class Data_From_Excel;

// Process-wide state of the spreadsheet readers and pickers; GUI thread only.
extern int Excel_Sheet_Number; // 1-based number n of the worksheet part "xl/worksheets/sheet<n>.xml" to read
extern int Excel_Sheet_Columns; // column count of the worksheet being read
