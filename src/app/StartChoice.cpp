// The plan dialogs' scale choice.
#include "app/StartChoice.h"

#include "base/Text.h"

namespace app {

std::int32_t chosenDenominator(const PlanChoice& choice) {
    return choice.typedScale ? base::toInt(choice.typedDenominator) : choice.denominator;
}

} // namespace app
