#include "data/Spreadsheet_Globals.h"

int Excel_Sheet_Number = 1;
int Excel_Sheet_Columns = 1;
