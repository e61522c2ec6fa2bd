#include "greeting/CsvRecordFile.h"

bool CsvRecordFile::ReadRecord(CsvRecord& record)
{
    if (!ReadString(lineBuffer))
        return false;
    record.SetLine(lineBuffer);
    return true;
}
