// The CSV reader: one row, or a whole table read from text and sorted by a column. The first
// byte picks the reader, whether rows may differ in width, and the sort column.
#include "foundation/csvrow.h"
#include "foundation/csvtable.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QString text = fuzzText(data + 1, size - 1);
    if (choice & 1) {
        CsvRow row;
        if (row.setText(text) && row.columnCount() < 1)
            __builtin_trap(); // a row that was accepted has at least one field
        row.column(choice >> 1);
        return 0;
    }
    CsvTable table;
    if (table.parse(text, false, choice & 2)) {
        table.sortByColumn((choice >> 2) - 4);
        for (qint32 i = 0; i < table.rowCount(); ++i)
            table.columnCount(i);
    } else if (table.rowCount() != 0) {
        __builtin_trap(); // a failed parse leaves the table empty
    }
    return 0;
}
