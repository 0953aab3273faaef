// Opening a document with the application the desktop has registered for its type.
#pragma once

#include <string>

// Hands the local file path to the desktop; false when no application could be started for it.
bool openWithDefaultApplication(const std::string& path);
