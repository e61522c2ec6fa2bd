#include "greeting/CsvRecordFile.h"

bool CsvRecordFile::ReadRecord(CsvRecord& record)
{
    if (!ReadString(lineBuffer_))
        return false;
    record.SetLine(lineBuffer_);
    return true;
}
