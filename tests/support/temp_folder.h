// A fresh empty folder under the system's temporary folder, removed with all it
// holds at the end: the scratch space of every test support of both programs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Text() const { return path_.string(); }
    // The path of a file in the folder, as text.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name, std::string_view bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

} // namespace test_support
