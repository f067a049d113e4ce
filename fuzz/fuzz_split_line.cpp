// The field splitter the reader and the paste share, under every limit in use
// and a few small ones that make the limit itself easy to reach.
#include "fuzz_check.h"
#include "sheetfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int limits[] = {sheetfile::kFieldLimit, sheetfile::kFirstLineFieldLimit, 0, 1, 2, 3, 5, 8};
    const int limit = limits[data[0] % 8];
    const QString line = text_of(data + 1, size - 1);

    const sheetfile::Fields split = sheetfile::split_line(line, limit);
    check(split.field_count >= 0 && split.field_count <= limit + 1,
          "field_count stays within 0 .. limit + 1");
    check(split.fields.size() == qMin(split.field_count, limit),
          "one field kept for each counted, never more than the limit");
    qsizetype chars = 0;
    for (const QString &field : split.fields) {
        // The writer relies on it: a double quote in a field would end a quoted one.
        check(!field.contains(u'"'), "no field holds a double quote");
        chars += field.size();
    }
    check(chars <= line.size(), "the fields are no longer than the line");
    if (line.isEmpty())
        check(split.field_count == 0, "an empty line has no field");
    const bool plain = !line.contains(u',') && !line.contains(u'\t') && !line.contains(u'"');
    if (plain && !line.isEmpty() && limit >= 1)
        check(split.field_count == 1 && split.fields[0] == line,
              "a line without separators or quotes is one field");
    return 0;
}
