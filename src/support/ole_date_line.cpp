#include "support/ole_date_line.h"

#include <cmath>

namespace nv {

double ContinuousOleDate(double date)
{
    if (date > -kOleHalfSecond)
        return date;
    const double day = std::ceil(date);
    return day - (date - day);
}

} // namespace nv
