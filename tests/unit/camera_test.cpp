#include "scene/camera.h"

#include <gtest/gtest.h>

#include "fakes/scripted_random.h"

namespace vx {
namespace {

TEST(Camera, FirstCallCruisesForwardBehindTheTarget) {
  Viewpoint view;
  ScriptedRandom rnd;
  Camera cam(view);
  EXPECT_EQ(view.camera_distance, 400.0f);
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(view.target.z, 4.0f);
  EXPECT_NEAR(view.eye.x, -0.3556, 1e-4);  // the angle steps through 3.141, not pi
  EXPECT_NEAR(view.eye.z, -396.0, 1e-3);
  EXPECT_EQ(view.eye.y, 0.0f);
  EXPECT_EQ(cam.move_clock.elapsed, 20);
  EXPECT_EQ(rnd.Draws(), 0);
}

TEST(Camera, CruiseEndDrawsLengthThenMoveRoundedHalfToEven) {
  Viewpoint view;
  Camera cam(view);
  cam.move_clock.elapsed = 5480;
  ScriptedRandom rnd{0.5f, 0.125f};
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.move_clock.length, 12000);
  EXPECT_EQ(cam.move, CameraMove::kTurnAngleUp);  // 1.5 rounds to 2
  EXPECT_EQ(cam.move_clock.elapsed, 0);
  EXPECT_EQ(view.target.z, 4.0f);  // the cruise still advances in that call
  const auto next_move = [&](float r) {
    ScriptedRandom draws{0.5f, r};
    cam.move = CameraMove::kCruise;
    cam.move_clock.elapsed = 100000;
    cam.Advance(view, 20, draws);
    return cam.move;
  };
  EXPECT_EQ(next_move(0.375f), CameraMove::kTurnAngleUp);        // 2.5 rounds to 2
  EXPECT_EQ(next_move(0.625f), CameraMove::kRisingTurnAngleUp);  // 3.5 rounds to 4
}

TEST(Camera, TurnWrapsAndEndsAFullCircleLater) {
  Viewpoint view;
  ScriptedRandom rnd{0.5f};
  Camera cam(view);
  cam.move = CameraMove::kTurnAngleUp;
  cam.move_clock = {980, 4000};
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.turn_percent, 50.0f);
  EXPECT_EQ(cam.Angle(), 90.0f);                         // 450 wrapped
  EXPECT_NEAR(view.eye.z - view.target.z, 400.0, 0.01);  // half way round: in front
  cam.move_clock.elapsed = 1980;
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.move, CameraMove::kCruise);
  EXPECT_EQ(cam.move_clock.length, 3500);
  EXPECT_EQ(cam.Angle(), 270.0f);  // 630 wrapped

  // Decreasing turn: -90 at the end wraps back to 270; the rising variant keeps -90.
  cam.move = CameraMove::kTurnAngleDown;
  cam.move_clock = {1990, 4000};
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.Angle(), 270.0f);
  cam.move = CameraMove::kRisingTurnAngleDown;
  cam.move_clock = {1990, 4000};
  cam.Advance(view, 20, rnd);
  EXPECT_EQ(cam.Angle(), -90.0f);
  EXPECT_EQ(view.eye.y, 0.0f);
  EXPECT_NEAR(view.eye.z - view.target.z, -400.0, 0.01);
}

TEST(Camera, RisingTurnPeaksAtHalfItsSpan) {
  Viewpoint view;
  ScriptedRandom rnd;
  Camera cam(view);
  cam.move = CameraMove::kRisingTurnAngleUp;
  cam.move_clock = {980, 4000};
  cam.Advance(view, 20, rnd);
  EXPECT_NEAR(cam.rise_percent, 0.0000159, 1e-6);
  EXPECT_NEAR(view.eye.y, -200.0, 1e-3);
  EXPECT_NEAR(view.target.z, 0.6 * 20, 1e-4);
  EXPECT_EQ(cam.Angle(), 90.0f);
}

}  // namespace
}  // namespace vx
