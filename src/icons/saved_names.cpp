#include "whole_icon.h"

namespace icons {

std::string WholeIconFileName(const std::string& file, int index, bool cursor) {
    return file + "." + std::to_string(index) + (cursor ? ".cur" : ".ico");
}

std::string IconImageFileName(const std::string& file, int index, int k) {
    return file + "." + std::to_string(index) + "-" + std::to_string(k) + ".png";
}

std::string DraggedIconFileName(const std::string& file, int index) {
    return file + "." + std::to_string(index) + ".png";
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace icons
