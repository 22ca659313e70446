#pragma once
// The window property under which every control of ours carries its name (a
// global atom), so that the test driver can find "Label1" in another process
// as a person would find it by looking.
namespace ui {
inline constexpr const char* kControlNameProperty = "SaverControlName";
}
