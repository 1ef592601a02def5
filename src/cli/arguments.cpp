#include "cli/arguments.h"

#include <algorithm>

namespace ostrivane::cli {

std::string Arguments::take(std::string_view what) {
    const auto it = std::find_if(words_.begin(), words_.end(),
                                 [](const std::string& w) { return !w.starts_with("--"); });
    if (it == words_.end())
        throw UsageError{"missing " + std::string(what)};
    std::string word = *it;
    words_.erase(it);
    return word;
}

bool Arguments::take_flag(std::string_view flag) {
    const auto it = std::find(words_.begin(), words_.end(), flag);
    if (it == words_.end())
        return false;
    words_.erase(it);
    return true;
}

std::vector<std::string> Arguments::take_all(std::string_view option) {
    std::vector<std::string> values;
    const std::string prefix = std::string(option) + "=";
    for (std::size_t i = 0; i < words_.size();) {
        if (words_[i] == option) {
            if (i + 1 >= words_.size())
                throw UsageError{std::string(option) + " needs a value"};
            values.push_back(words_[i + 1]);
            words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i),
                         words_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (words_[i].starts_with(prefix)) {
            values.push_back(words_[i].substr(prefix.size()));
            words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return values;
}

std::optional<std::string> Arguments::take_option(std::string_view option) {
    std::vector<std::string> values = take_all(option);
    if (values.size() > 1)
        throw UsageError{std::string(option) + " given more than once"};
    if (values.empty())
        return std::nullopt;
    return values.front();
}

void Arguments::expect_end() const {
    if (!words_.empty())
        throw UsageError{"unexpected argument: " + words_.front()};
}

}  // namespace ostrivane::cli
