// The length of an open stream, found by seeking to its end and back.
#include "files/stream_sys.h"

namespace zyn::files::sys {

bool length(std::FILE* file, uint64_t& bytes)
{
    if (seek(file, 0, SEEK_END) != 0)
        return false;
    const int64_t end = tell(file);
    if (end < 0 || seek(file, 0, SEEK_SET) != 0)
        return false;
    bytes = uint64_t(end);
    return true;
}

} // namespace zyn::files::sys
