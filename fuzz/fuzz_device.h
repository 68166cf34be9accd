#pragma once
// A throw-away emulated device for a fuzzing run.

namespace zentri::fuzz {

// Creates a fresh device root once per process and points ZENTRI_DEVICE_ROOT at it.
void UseTemporaryDevice();

}  // namespace zentri::fuzz
