// The approximation tables against the perturbed steps they stand for, iterated one by one in
// long double, whose exponent reaches past any difference here.
#include "deep/approximation_table.h"

#include <gtest/gtest.h>

#include <complex>

#include "deep/reference_orbit.h"
#include "deep_views.h"
#include "engine/poster.h"
#include "view_numbers.h"

namespace orvane::deep {
namespace {

using Wide = std::complex<long double>;

Wide wide(ComplexExp z) {
  return {std::ldexp(static_cast<long double>(z.re.mantissa()), static_cast<int>(z.re.exponent())),
          std::ldexp(static_cast<long double>(z.im.mantissa()), static_cast<int>(z.im.exponent()))};
}

struct Orbit {
  DeepReference reference;
  FloatExp largestOffset;
};

Orbit orbitOf(const std::string& x, const char* zoom, int depth) {
  PointSetup setup = preparePointSetup({.iterDepth = depth});
  setup.frame = posterFrame({80, 60});
  const std::optional<DeepView> view =
      readDeepView(testing::number(x), testing::number("0.0"), testing::number(zoom));
  return {DeepReference(*view, setup), largestOffset(setup, view->zoom)};
}

// dz_{i+l} by the textbook step dz' = 2 Z dz + dz^2 + dc.
Wide stepped(const ReferenceOrbit& orbit, std::size_t i, std::size_t l, Wide dz, Wide dc) {
  for (std::size_t k = i; k < i + l; ++k) {
    const Wide z = wide(orbit.wideAt(k));
    dz = 2.0L * z * dz + dz * dz + dc;
  }
  return dz;
}

// Each approximation from a few starts, applied to a difference within its radius and the
// largest dc, lands where the single steps do, to the tolerance and well above rounding.
TEST(ApproximationTable, StandsForTheStepsItSkips) {
  for (const auto& [x, zoom, depth] :
       {std::tuple{std::string("-1.25"), "1e30", 3000},  // inside: the orbit settles on a 2-cycle
        std::tuple{testing::nucleusNearTip(200, 1100, 0), "1e238", 3000}}) {
    const Orbit o = orbitOf(x, zoom, depth);
    const ReferenceOrbit& orbit = o.reference.critical();
    const ApproximationTable& table = o.reference.criticalTable();
    const Wide dc = wide({o.largestOffset * FloatExp(0.6), o.largestOffset * FloatExp(-0.8)});
    int checked = 0;
    for (std::size_t start : {std::size_t{1}, std::size_t{65}, std::size_t{129}}) {
      for (int level = table.topLevel(start); level > 0; --level) {
        const Approximation& entry = table.at(start, level);
        if (entry.radiusExponent == Approximation::kNoRadius) continue;
        const WideCoefficients coefficients =
            entry.wide < 0 ? WideCoefficients{{FloatExp(entry.a.re), FloatExp(entry.a.im)},
                                              {FloatExp(entry.b.re), FloatExp(entry.b.im)}}
                           : table.wide(entry);
        // At half the radius, and at 0, where dc alone moves the pixel.
        for (const Wide dz :
             {std::polar(std::ldexp(1.0L, entry.radiusExponent - 1), 0.3L), Wide{}}) {
          const Wide skipped = wide(coefficients.a) * dz + wide(coefficients.b) * dc;
          const Wide exact = stepped(orbit, start, table.length(start, level), dz, dc);
          EXPECT_LE(std::abs(skipped - exact), 0x1p-30L * std::abs(exact))
              << x.substr(0, 6) << " from " << start << " level " << level;
        }
        ++checked;
      }
    }
    EXPECT_GT(checked, 12) << x.substr(0, 6);
  }
}

// From index 1 the top level spans the whole orbit: to a nucleus's return, where the orbit
// ends after its period, or else to the last value but one.
TEST(ApproximationTable, TopLevelSpansTheOrbit) {
  const Orbit minibrot = orbitOf(testing::nucleusNearTip(200, 1100, 0), "1e238", 3000);
  const Orbit inside = orbitOf("-1.25", "1e30", 3000);
  for (const Orbit* o : {&minibrot, &inside}) {
    const ReferenceOrbit& orbit = o->reference.critical();
    const ApproximationTable& table = o->reference.criticalTable();
    const std::size_t last = orbit.returns() ? orbit.size() - 1 : orbit.size() - 2;
    EXPECT_EQ(1 + table.length(1, table.topLevel(1)), last);
  }
  EXPECT_EQ(minibrot.reference.critical().size(), 201u);
  EXPECT_EQ(inside.reference.critical().size(), 3002u);
}

}  // namespace
}  // namespace orvane::deep
