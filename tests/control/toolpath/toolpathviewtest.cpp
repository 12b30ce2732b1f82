#include "toolpathview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

double degreesOf(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// The elevation of the iso view: the eye on (1, -1, 1).
const double kIsoElevation = degreesOf(std::atan(1.0 / std::sqrt(2.0)));

struct OrbitCase {
    const char* name;
    ToolpathViewKind from;
    double degrees, tilt;
    double azimuth, elevation;
};

class ToolpathOrbitCases : public ::testing::TestWithParam<OrbitCase> {};

// The eye turns about Z and tilts, below the XY plane too, and stops straight above or below.
TEST_P(ToolpathOrbitCases, orbitTurnsAndTiltsTheEye) {
    const OrbitCase& c = GetParam();
    const ToolpathView view = ToolpathView(c.from).orbited(c.degrees, c.tilt);
    EXPECT_NEAR(view.azimuth(), c.azimuth, 1e-9);
    EXPECT_NEAR(view.elevation(), c.elevation, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Orbits, ToolpathOrbitCases,
    ::testing::Values(OrbitCase{"isoBelowThePlane", ToolpathViewKind::Iso, 0, -60, -45,
                                kIsoElevation - 60},
                      OrbitCase{"isoFarBelowStopsUnder", ToolpathViewKind::Iso, 0, -200, -45, -90},
                      OrbitCase{"isoFarAboveStopsOver", ToolpathViewKind::Iso, 0, 200, -45, 90},
                      OrbitCase{"frontDownALittle", ToolpathViewKind::Front, 0, -0.5, -90, -0.5},
                      OrbitCase{"topDown", ToolpathViewKind::Top, 10, -120, -80, -30},
                      OrbitCase{"rightTurned", ToolpathViewKind::Right, 100, 20, 100, 20},
                      OrbitCase{"turnPastHalf", ToolpathViewKind::Right, 190, 0, -170, 0},
                      OrbitCase{"turnPastHalfBack", ToolpathViewKind::Front, -100, 0, 170, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Seen from any eye, the image's axes are unit vectors at right angles to the eye and to each
// other, right is level, and up leans towards +Z; below the plane the eye looks up at the part.
TEST(ToolpathView, axesAreThoseOfTheEyeAboveAndBelowThePlane) {
    for (double elevation = -90; elevation <= 90; elevation += 7.5) {
        for (double azimuth = -180; azimuth < 180; azimuth += 35) {
            const ToolpathView view(azimuth, elevation);
            const double a = azimuth * std::numbers::pi / 180,
                         e = elevation * std::numbers::pi / 180;
            const double eye[3] = {std::cos(e) * std::cos(a), std::cos(e) * std::sin(a),
                                   std::sin(e)};
            const double* r = view.right();
            const double* u = view.up();
            const auto dot = [](const double* p, const double* q) {
                return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
            };
            EXPECT_NEAR(dot(r, r), 1, 1e-12);
            EXPECT_NEAR(dot(u, u), 1, 1e-12);
            EXPECT_NEAR(dot(r, u), 0, 1e-12);
            EXPECT_NEAR(dot(r, eye), 0, 1e-12);
            EXPECT_NEAR(dot(u, eye), 0, 1e-12);
            EXPECT_EQ(r[2], 0.0);
            EXPECT_NEAR(u[2], std::cos(e), 1e-12);
            // right x up is the eye: the image is not mirrored.
            const double cross[3] = {r[1] * u[2] - r[2] * u[1], r[2] * u[0] - r[0] * u[2],
                                     r[0] * u[1] - r[1] * u[0]};
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(cross[k], eye[k], 1e-12) << azimuth << " " << elevation << " " << k;
        }
    }
}

} // namespace
