#include "cut_error_text.h"

namespace tunewick {

const char* Describe(CutError error) {
    switch (error) {
        case CutError::NothingToSplit:
            return "the text to split is empty";
        case CutError::NoSecondPiece:
            return "the text holds no \"-\"";
        case CutError::NegativeLength:
            return "the caption is shorter than the part to drop";
        case CutError::CutOverflow:
            return "the playlist position is too long";
    }
    return "unknown";
}

}  // namespace tunewick
