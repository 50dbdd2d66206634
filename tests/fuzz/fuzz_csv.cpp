// The CSV reader: one row, or a whole table read from text and sorted by a column. The first
// byte picks the reader, whether rows may differ in width, and the sort column.
#include "foundation/ckovqzcsv.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QString text = fuzzText(data + 1, size - 1);
    if (choice & 1) {
        CKovQzCSVrow row;
        if (row.setRowData(text) && row.NoColumns() < 1)
            __builtin_trap(); // a row that was accepted has at least one field
        row.Column(choice >> 1);
        return 0;
    }
    CKovQzCSV table;
    if (table.ParseData(text, false, choice & 2)) {
        table.SortByColumnIndex((choice >> 2) - 4);
        for (qint32 i = 0; i < table.NoRows(); ++i)
            table.NoColumns(i);
    } else if (table.NoRows() != 0) {
        __builtin_trap(); // a failed parse leaves the table empty
    }
    return 0;
}
