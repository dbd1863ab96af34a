#include "whole_icon.h"

namespace icons {

std::string WholeIconFileName(const std::string& file, int index, bool cursor) {
    return file + "." + std::to_string(index) + (cursor ? ".cur" : ".ico");
}

std::string IconImageFileName(const std::string& file, int index, int k) {
    return file + "." + std::to_string(index) + "-" + std::to_string(k) + ".png";
}

}  // namespace icons
