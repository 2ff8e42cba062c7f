// OLE Automation dates on a straight time line. Pure arithmetic.
#pragma once

namespace nv {

// Half a second, as a fraction of a day: the rounding step of OLE dates.
constexpr double kOleHalfSecond = 5.787037037037037e-06;

// OLE dates before day 0 count the fraction away from it: -1.25 reads
// "day -1, 06:00", a moment later than -1.0. This maps them onto one rising
// scale (that moment becomes -0.75), so that plain arithmetic and comparison
// follow time. Dates within half a second below 0 still lie in day 0.
double ContinuousOleDate(double date);

} // namespace nv
