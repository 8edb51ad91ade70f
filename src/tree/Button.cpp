#include "kova/node.h"

namespace tarn {
namespace kova {

const char* Button::buttonName(int button) {
    static const char* const names[Count] = {"No button",
                                             "Select",
                                             "Cancel",
                                             "Back",
                                             "Edit",
                                             "Leftwards",
                                             "Upwards",
                                             "Rightwards",
                                             "Downwards",
                                             "Home",
                                             "End",
                                             "PageUp",
                                             "PageDown",
                                             "Insert",
                                             "Delete",
                                             "Backspace",
                                             "Tab",
                                             "Start",
                                             "Enter",
                                             "Scroll up",
                                             "Scroll down",
                                             "User function 1",
                                             "User function 2",
                                             "User function 3",
                                             "User function 4",
                                             "User function 5",
                                             "User function 6",
                                             "User function 7",
                                             "User function 8"};
    return button >= 0 && button < Count ? names[button] : nullptr;
}

}  // namespace kova
}  // namespace tarn
