// TessivIniFile: tolerant reading and atomic writing of the profile.
#include <tessiv/platform/ini_file.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool has_control_bytes(std::string_view line)
{
    return std::any_of(line.begin(), line.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t';
    });
}

std::string read_limited(std::string const &path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string content;
    char buffer[8192];
    while (content.size() < TessivIniFile::kMaxFileSize) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (content.size() > TessivIniFile::kMaxFileSize)
        content.resize(TessivIniFile::kMaxFileSize);
    return content;
}

std::vector<Section> parse(std::string const &content)
{
    std::vector<Section> sections;
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t end = content.find('\n', at);
        if (end == std::string::npos)
            end = content.size();
        std::string_view line(content.data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > TessivIniFile::kMaxLineLength || has_control_bytes(line))
            continue;
        line = trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() == ']' && line.size() > 2)
                sections.push_back({std::string(trim(line.substr(1, line.size() - 2))), {}});
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0 || sections.empty())
            continue;
        sections.back().entries.emplace_back(std::string(trim(line.substr(0, equals))),
                                             std::string(trim(line.substr(equals + 1))));
    }
    return sections;
}

std::string serialise(std::vector<Section> const &sections)
{
    std::string text;
    for (Section const &section : sections) {
        if (!text.empty())
            text += '\n';
        text += '[' + section.name + "]\n";
        for (auto const &[entry, value] : section.entries)
            text += entry + '=' + value + '\n';
    }
    return text;
}

bool write_all(int fd, std::string const &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Replaces path with text: temporary file beside it, fsync, rename, and an
// fsync of the folder so the rename itself is on disk.
bool replace_file(std::string const &path, std::string const &text)
{
    std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    std::error_code error;
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool written = write_all(fd, text) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    int folder_fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_fd >= 0) {
        ::fsync(folder_fd);
        ::close(folder_fd);
    }
    return true;
}

bool storable(char const *text, bool is_name)
{
    if (!text)
        return true;
    std::string_view view(text);
    if (view.find_first_of("\r\n") != std::string_view::npos)
        return false;
    return !is_name || (view.find_first_of("=[]") == std::string_view::npos && !trim(view).empty());
}

}  // namespace

TessivIniFile::TessivIniFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> TessivIniFile::Get(char const *section, char const *entry) const
{
    if (!section || !entry)
        return std::nullopt;
    std::string_view wanted_section = trim(section), wanted_entry = trim(entry);
    for (Section const &candidate : parse(Content())) {
        if (!same_name(candidate.name, wanted_section))
            continue;
        for (auto const &[name, value] : candidate.entries)
            if (same_name(name, wanted_entry))
                return value;
    }
    return std::nullopt;
}

bool TessivIniFile::Write(char const *section, char const *entry, char const *value)
{
    if (!section || !storable(section, true) || !storable(entry, true) || !storable(value, false))
        return false;
    std::string_view section_name = trim(section);
    std::vector<Section> sections = parse(Content());
    if (!entry) {
        std::erase_if(sections, [&](Section const &s) { return same_name(s.name, section_name); });
        return Store(serialise(sections));
    }
    std::string_view entry_name = trim(entry);
    bool done = false;
    for (Section &candidate : sections) {
        if (done || !same_name(candidate.name, section_name))
            continue;
        for (auto it = candidate.entries.begin(); it != candidate.entries.end(); ++it) {
            if (!same_name(it->first, entry_name))
                continue;
            if (value)
                it->second = std::string(trim(value));
            else
                candidate.entries.erase(it);
            done = true;
            break;
        }
    }
    if (!done && value) {
        auto first = std::find_if(sections.begin(), sections.end(),
                                  [&](Section const &s) { return same_name(s.name, section_name); });
        if (first == sections.end())
            first = sections.insert(sections.end(), Section{std::string(section_name), {}});
        first->entries.emplace_back(std::string(entry_name), std::string(trim(value)));
    }
    return Store(serialise(sections));
}

void TessivIniFile::Hold() { holding_ = true; }

bool TessivIniFile::Flush()
{
    holding_ = false;
    std::optional<std::string> text = std::move(held_);
    held_.reset();
    return !text || replace_file(path_, *text);
}

std::string TessivIniFile::Content() const { return held_ ? *held_ : read_limited(path_); }

bool TessivIniFile::Store(std::string text)
{
    if (!holding_)
        return replace_file(path_, text);
    held_ = std::move(text);
    return true;
}

std::string TessivIniFile::DefaultPath(char const *application_name)
{
    std::string application = application_name ? application_name : "";
    if (application.empty()) {
        std::error_code error;
        application = std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
        if (application.empty())
            application = "tessiv";
    }
    std::filesystem::path base;
    char const *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        char const *home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            passwd const *user = getpwuid(getuid());
            home = user && user->pw_dir ? user->pw_dir : "/tmp";
        }
        base = std::filesystem::path(home) / ".config";
    }
    return (base / application / "profile.ini").string();
}
