#pragma once
#include "framework/StdioFile.h"
#include "greeting/CsvRecord.h"
#include <string>

// A text file of records, one per line.
class CsvRecordFile : public CStdioFile {
public:
    // Reads the next line into the record; false at the end of the file.
    // Read errors are thrown as CFileException.
    bool ReadRecord(CsvRecord& record);

private:
    std::string lineBuffer_;
};
