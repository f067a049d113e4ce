// Any bytes opened as a sheet file: the reader must survive them, and what it
// makes of them must write the same bytes after one more read. A save and a
// reopen may never change a sheet a second time.
#include "fuzz_check.h"
#include "sheet.h"
#include "sheetfile.h"

using sheetfile::ReadOutcome;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    Sheet first;
    const sheetfile::ReadResult read = sheetfile::read_bytes(bytes, first, 120);
    // Neither leaves a sheet of the file's own to write back.
    if (read.outcome == ReadOutcome::Foreign || read.outcome == ReadOutcome::Refused)
        return 0;
    const QByteArray once = sheetfile::encode(first);

    Sheet second;
    const sheetfile::ReadResult again = sheetfile::read_bytes(once, second, 120);
    check(again.outcome == ReadOutcome::Complete, "a written sheet reads back complete",
          again.reason);
    const QByteArray twice = sheetfile::encode(second);
    check(once == twice, "a sheet written, read back and written again gives the same bytes",
          first_difference(once, twice));
    return 0;
}
