// The COM error info an export leaves on the calling thread when it turns a
// failure into its neutral result.
#pragma once

#include <string>

// Clears the thread's error info, so that a later read shows only what the
// next call left.
void ClearErrorInfo();

// Takes the thread's error info (GetErrorInfo clears it) and returns its
// description in the system code page; "<no error info>" when there is none.
std::string TakeErrorDescription();
