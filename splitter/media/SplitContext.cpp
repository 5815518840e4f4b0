// The process-wide record and path splitting.
#include "splitter/media/SplitContext.h"

SplitContext& SplitContext::Instance() {
    static SplitContext context;
    return context;
}

std::string FolderPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
