#include "scene/camera.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scripted_random.h"

namespace vx {
namespace {

TEST(Camera, CruisesForwardThenDrawsLengthAndMoveRoundedHalfToEven) {
  Viewpoint view;
  ScriptedRandom rnd{0.5f, 0.125f, 0.5f, 0.375f};
  Camera cam(view);
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(std::make_tuple(view.target.z, view.eye.y, rnd.Draws()),
            std::make_tuple(4.0f, 0.0f, 0));
  EXPECT_NEAR(view.eye.x, -0.3556, 1e-4);  // the angle steps through 3.141, not pi
  EXPECT_NEAR(view.eye.z, -396.0, 1e-3);   // behind the target

  cam.move_clock.elapsed = 5480;  // the cruise ends in this call, which still advances
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(view.target.z, 8.0f);
  EXPECT_EQ(std::make_tuple(cam.move_clock.elapsed, cam.move_clock.length),
            std::make_tuple(0, 12000));
  EXPECT_EQ(cam.move, CameraMove::kTurnAngleUp);  // 1.5 rounds to 2
  cam.move = CameraMove::kCruise;
  cam.move_clock.elapsed = 100000;
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.move, CameraMove::kTurnAngleUp);  // 2.5 rounds to 2
}

TEST(Camera, TurnsWrapEndAFullCircleLaterAndRisingTurnsPeakHalfWay) {
  Viewpoint view;
  ScriptedRandom rnd{0.5f};
  Camera cam(view);
  const auto turn = [&](CameraMove move, int32_t elapsed) {
    cam.move = move;
    cam.move_clock = {elapsed, 4000};
    cam.Advance(view, 20, rnd);
    return cam.Angle();
  };
  EXPECT_EQ(turn(CameraMove::kTurnAngleUp, 980), 90.0f);  // 450 wrapped
  EXPECT_EQ(cam.turn_percent, 50.0f);
  EXPECT_NEAR(view.eye.z - view.target.z, 400.0, 0.01);     // half way round: in front
  EXPECT_EQ(turn(CameraMove::kTurnAngleUp, 1980), 270.0f);  // 630 wrapped, and the end
  EXPECT_EQ(cam.move, CameraMove::kCruise);
  EXPECT_EQ(cam.move_clock.length, 3500);
  // Decreasing turn: -90 at the end wraps back to 270; the rising variant keeps -90.
  EXPECT_EQ(turn(CameraMove::kTurnAngleDown, 1990), 270.0f);
  EXPECT_EQ(turn(CameraMove::kRisingTurnAngleDown, 1990), -90.0f);
  EXPECT_EQ(view.eye.y, 0.0f);  // back down at the end
  EXPECT_NEAR(view.eye.z - view.target.z, -400.0, 0.01);

  // The rise eases twice as fast as the turn: at the turn's half way it has just peaked, and
  // the target meanwhile moves three times as fast.
  view = Viewpoint{{}, {}, 400};
  EXPECT_EQ(turn(CameraMove::kRisingTurnAngleUp, 980), 90.0f);
  EXPECT_NEAR(cam.rise_percent, 0.0000159, 1e-6);
  EXPECT_NEAR(view.eye.y, -200.0, 1e-3);
  EXPECT_NEAR(view.target.z, 0.6 * 20, 1e-4);
}

}  // namespace
}  // namespace vx
