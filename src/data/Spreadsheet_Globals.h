#pragma once

class Data_From_Excel;

// Process-wide state of the spreadsheet readers and pickers; GUI thread only.
extern int Excel_Sheet_Number; // 1-based place, in the workbook's tab order, of the worksheet to read
extern int Excel_Sheet_Columns; // column count of the worksheet being read
