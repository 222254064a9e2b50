// CLog: bounded in-memory trace record with an optional file mirror.
#include <tessiv/siblings/fendral/log.h>

#include <tessiv/platform/headless.h>

#include <cstdlib>
#include <ctime>

CLog::CLog(std::size_t capacity) : capacity_(capacity) {}

CLog::~CLog()
{
    if (file_)
        std::fclose(file_);
}

void CLog::PutLog(int level, char const *title, char const *text)
{
    Entry entry{level, title ? title : "", text ? text : "", std::chrono::system_clock::now()};
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_) {
        std::time_t seconds = std::chrono::system_clock::to_time_t(entry.time);
        auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                                entry.time.time_since_epoch()).count() % 1000;
        std::tm utc{};
        gmtime_r(&seconds, &utc);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &utc);
        // One flushed line per call, so a crash loses at most the line being written.
        std::fprintf(file_, "%s.%03d [%d] %s: %s\n", stamp, static_cast<int>(milliseconds), level,
                     entry.title.c_str(), entry.text.c_str());
        std::fflush(file_);
    }
    entries_.push_back(std::move(entry));
    trim();
}

std::vector<CLog::Entry> CLog::Entries() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::vector<Entry>(entries_.begin(), entries_.end());
}

std::size_t CLog::Count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

std::size_t CLog::Dropped() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

void CLog::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
    dropped_ = 0;
}

std::size_t CLog::Capacity() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return capacity_;
}

void CLog::SetCapacity(std::size_t capacity)
{
    std::lock_guard<std::mutex> lock(mutex_);
    capacity_ = capacity;
    trim();
}

bool CLog::SetFile(char const *path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!path || !*path)
        return true;
    file_ = std::fopen(path, "a");
    return file_ != nullptr;
}

void CLog::trim()
{
    while (entries_.size() > capacity_) {
        entries_.pop_front();
        ++dropped_;
    }
}

namespace {

void log_display_diagnostic(char const *title, char const *text) { cLog.PutLog(1, title, text); }

// Opens the TESSIV_LOG file and takes over the platform's diagnostics for as
// long as cLog exists.
struct GlobalLogSetup {
    GlobalLogSetup()
    {
        if (char const *path = std::getenv("TESSIV_LOG"))
            cLog.SetFile(path);
        TessivSetDiagnosticSink(log_display_diagnostic);
    }
    ~GlobalLogSetup() { TessivSetDiagnosticSink(nullptr); }
};

}  // namespace

CLog cLog;
static GlobalLogSetup global_log_setup;
