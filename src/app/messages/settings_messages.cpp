#include "app/messages/settings_messages.h"

namespace trevanto::message {

std::string SamplerValueMessage(SamplerValueCheck check) {
    switch (check) {
        case SamplerValueCheck::Accepted:
            return {};
        case SamplerValueCheck::Empty:
            return kEmptyValue;
        case SamplerValueCheck::TooSmall:
            return kNegativeValue;
        case SamplerValueCheck::TooLarge:
            return kValueTooLarge;
    }
    return {};
}

std::string TemplateLoadMessage(TemplateLoadStatus status, const std::string& path) {
    switch (status) {
        case TemplateLoadStatus::Loaded:
            return {};
        case TemplateLoadStatus::CannotLoad:
            return "cannot load " + path;
        case TemplateLoadStatus::NotHundredByEighty:
            return path + " is not a 100 x 80 picture.";
    }
    return {};
}

}  // namespace trevanto::message
