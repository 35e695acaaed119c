// The picture of each scene in tests/data/render/scenes.txt, drawn from the program's start:
// the GL state a frame relies on, every primitive with its lit colours, and the text.
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

// Mesa computes feedback in single precision: 0.02 (pixels, depth, colour) is above its
// rounding and the print's last digit, and far below a degree's turn or a lamp's move.
constexpr double kFeedbackTolerance = 0.02;

TEST(Picture, Scenes) {
  open_gl_window();
  const SimState sim0 = sim;
  const ViewState view0 = view;
  for (const std::string& line : data_lines("render/scenes.txt")) {
    sim = sim0;
    view = view0;
    trace.frame_count = 0;
    clear_trace();
    glEnable(GL_LIGHTING);
    reshape(kWindowWidth, kWindowHeight);
    const std::string name = line.substr(0, line.find(':'));
    std::istringstream events(line.substr(line.find(':') + 1));
    for (std::string event; std::getline(events >> std::ws, event, ';');) apply_event(event);
    SCOPED_TRACE(name);
    expect_data("render/" + name + ".txt", dump_frame(), kFeedbackTolerance);
  }
}
