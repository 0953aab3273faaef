// The application's standard error box for errors that end a build command (a program that
// cannot be started, a listing that cannot be written): an error box with OK and the message.
#pragma once

#include <string>

inline constexpr const char* kErrorBoxCaption = "Error";

void showErrorBox(const std::string& message);
