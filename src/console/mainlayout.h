#pragma once

#include <optional>

// The main window's resize rules, in twips on the window's outer size. Pure, so that the
// arithmetic can be checked on its own; the window applies the result step by step.
namespace mainlayout {

constexpr float kMinWidth = 6000.0f;
constexpr float kMinHeight = 4500.0f;

// Designed values the rules read but never change.
constexpr float kGridLeft = 120.0f;
constexpr float kGridTop = 240.0f;
constexpr float kExitWidth = 1335.0f;

// The window's border, caption and menu bar at its designed size: the outer size is the
// client area plus these.
constexpr float kNonClientWidth = 120.0f;
constexpr float kNonClientHeight = 630.0f;

struct Layout {
    std::optional<float> windowWidth;  // set only when below the minimum
    std::optional<float> windowHeight; // likewise
    float frameWidth = 0, frameHeight = 0;
    float gridWidth = 0, gridHeight = 0;
    float exitLeft = 0, exitTop = 0;
    float killTop = 0;
    float separatorTop = 0, separatorWidth = 0;
};

// W and H are the outer width and height before the rules run. Steps 1 and 2 raise them to
// the minimum (strictly: exactly the minimum is left alone); the later steps see the result.
Layout Compute(float W, float H);

} // namespace mainlayout
