#pragma once
// What the user is told about settings the program does not take: sampler
// values and shot bitmap templates.
#include <string>

#include "export/shot_template.h"
#include "shots/slicing_settings.h"

namespace trevanto::message {

inline constexpr const char* kEmptyValue = "No empty value is allowed.";                    // 61210
inline constexpr const char* kNegativeValue = "Negative or empty values are not allowed.";  // 61211
inline constexpr const char* kValueTooLarge = "Values above 2147483647 are not allowed.";
inline constexpr const char* kSensitivityRefused =
    "The sensitivity must be a number above 0 and below 100.";

// Empty for an accepted value.
std::string SamplerValueMessage(SamplerValueCheck check);
// Empty for a loaded template.
std::string TemplateLoadMessage(TemplateLoadStatus status, const std::string& path);

}  // namespace trevanto::message
