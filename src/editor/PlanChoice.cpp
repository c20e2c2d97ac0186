// The plan dialogs' scale choice.
#include "editor/PlanChoice.h"

#include "base/Text.h"

namespace editor {

std::int32_t chosenDenominator(const PlanChoice& choice) {
    return choice.typedScale ? base::toInt(choice.typedDenominator) : choice.denominator;
}

} // namespace editor
