// kolt::CStreamDebug: diagnostics go to the utility library's trace log,
// one trace line per text line. Values arrive in fragments ("frame ", "12",
// ...), so each stream's unfinished line waits here until a line feed, a
// flush or the stream's end completes it.
#include <tessiv/scene/stream_debug.h>

#include <tessiv/siblings/fendral/log.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace kolt {
namespace {

// A line longer than this goes out in pieces rather than growing without end.
constexpr std::size_t kLongestLine = 64 * 1024;

std::mutex g_pending_mutex;
// The stream keeps no fields of its own, so its unfinished line lives here.
std::unordered_map<CStreamDebug const *, std::string> g_pending;

void Emit(std::string &line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    cLog.PutLog(1, "CStreamDebug", line.c_str());
    line.clear();
}

}  // namespace

CStreamDebug::~CStreamDebug()
{
    flush();
}

void CStreamDebug::flush()
{
    std::lock_guard<std::mutex> lock(g_pending_mutex);
    auto found = g_pending.find(this);
    if (found == g_pending.end())
        return;
    Emit(found->second);
    g_pending.erase(found);
}

bool CStreamDebug::write_buffer(unsigned char const *data, unsigned int size)
{
    if (size == 0)
        return true;
    std::lock_guard<std::mutex> lock(g_pending_mutex);
    std::string &line = g_pending[this];
    for (unsigned int i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            Emit(line);
            continue;
        }
        line += static_cast<char>(data[i]);
        if (line.size() >= kLongestLine)
            Emit(line);
    }
    if (line.empty())
        g_pending.erase(this);
    return true;
}

}  // namespace kolt
