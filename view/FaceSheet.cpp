// Where the baked face sheets lie in the program (see FaceSheet.h).
#include "view/FaceSheet.h"

#include <QResource>
#include <cstdint>

// The sheets of ratio 2, copied into the read-only data by the assembler
// (the generated sheets_2x.cpp): each from its symbol to its _end symbol.
extern "C" {
extern const char plitar_sheet_70_2x[], plitar_sheet_70_2x_end[];
extern const char plitar_sheet_63_2x[], plitar_sheet_63_2x_end[];
extern const char plitar_sheet_56_2x[], plitar_sheet_56_2x_end[];
extern const char plitar_sheet_49_2x[], plitar_sheet_49_2x_end[];
}

namespace plitar {

QByteArray bakedSheet(int size, double ratio)
{
    if (ratio != 2)
        return QResource(faceSheetResource(size, ratio)).uncompressedData();
    const char* begin = nullptr;
    const char* end = nullptr;
    switch (size) {
    case 70: begin = plitar_sheet_70_2x, end = plitar_sheet_70_2x_end; break;
    case 63: begin = plitar_sheet_63_2x, end = plitar_sheet_63_2x_end; break;
    case 56: begin = plitar_sheet_56_2x, end = plitar_sheet_56_2x_end; break;
    case 49: begin = plitar_sheet_49_2x, end = plitar_sheet_49_2x_end; break;
    default: return {};
    }
    const auto bytes = reinterpret_cast<std::uintptr_t>(end) - reinterpret_cast<std::uintptr_t>(begin);
    return QByteArray::fromRawData(begin, static_cast<qsizetype>(bytes));
}

}  // namespace plitar
