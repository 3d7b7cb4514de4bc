// The boxes of the declaration window: the 25 boxes in their fixed order, where each sits,
// how it gets its value, and the DET numbers the window keeps its other fields under.
#pragma once

#include <QString>

#include <array>

namespace qz {

// How a box gets its value.
enum class BoxKind {
    Typed,     // the user types it (white)
    Computed,  // the chain computes it (grey, read-only)
    Assistant, // an assistant fills it (cyan, read-only): 105 and 110
    Hidden,    // a code set from a list: 225, 209
};

struct BoxInfo {
    int number;
    int page; // 2, 3 or 4
    BoxKind kind;
    const char *defaultLabel; // UTF-8; labels that follow the exercise are set by the model
};

// The window's box list in its fixed order (loading, saving and printing walk it so).
inline constexpr std::array<int, 25> kBoxList = {101, 104, 105, 108, 109, 110, 111, 113, 114,
                                                 115, 139, 160, 161, 142, 143, 144, 145, 146,
                                                 180, 225, 226, 208, 209, 211, 212};

// The box's row of the box table; nullptr for a number that is not one of the 25 boxes.
const BoxInfo *boxInfo(int number);

bool isWindowBox(int number);

// Reserved DET numbers of the window's other fields.
namespace det {
constexpr int kVersionSaved = 2;
constexpr int kRectifica = 5;
constexpr int kPeriodo = 7;
constexpr int kNroCheque = 12;
constexpr int kBanco = 15;
constexpr int kTelefono = 28;
constexpr int kFechaReorg = 520;
constexpr int kCantEmpresas = 521;
constexpr int kTipoPago = 599;
constexpr int kVersion = 721;
constexpr int kCheckParam = 722;
constexpr int kFechaVersion = 790;
constexpr int kRazon = 801;
constexpr int kRectificaAlias = 805;
constexpr int kNumOrdenCheck = 806;
constexpr int kNombreContador = 814;
constexpr int kApellidoContador = 815;
constexpr int kApellidoRepresentante = 817;
constexpr int kNombreRepresentante = 818;
constexpr int kAjuste = 825;
constexpr int kLiquid = 826;
constexpr int kReorg = 827;
constexpr int kTipoReorg = 828;
constexpr int kCoop = 829;
constexpr int kRectifica2 = 871;
constexpr int kAnexoFirst = 546; // the box-105 assistant's eleven rows
constexpr int kAnexoLast = 556;
} // namespace det

// True for the DET numbers the loader leaves alone.
bool isIgnoredOnLoad(int number);

} // namespace qz
