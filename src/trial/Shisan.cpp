#include "trial/Shisan.h"

#include <algorithm>

namespace kivo {

Shisan::Shisan(int32_t numberOfZeroAmountMonth)
    : monthlyAmountArray_(static_cast<size_t>(std::max(numberOfZeroAmountMonth, 0)) + 1, 0)
{
}

}  // namespace kivo
