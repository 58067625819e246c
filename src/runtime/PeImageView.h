#pragma once

#include "base/Text.h"
#include "base/UniqueResource.h"

#include <windows.h>

// The machine type of images this build of the launcher can load.
#ifdef _WIN64
constexpr WORD kLauncherMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr WORD kLauncherMachine = IMAGE_FILE_MACHINE_I386;
#endif

// A read-only mapping of a file that may be a PE image. Nothing in the file is
// trusted: the NT headers are used only when they lie wholly inside the view
// and carry the PE signature.
class PeImageView {
public:
    PeImageView() = default;
    explicit PeImageView(const String& path) { Open(path); }
    PeImageView(const PeImageView&) = delete;
    PeImageView& operator=(const PeImageView&) = delete;

    // Closes what is open, then maps path. Returns IsValid().
    bool Open(const String& path);
    // Unmaps the view, then closes the mapping and the file.
    void Close();

    bool IsValid() const { return m_valid; }
    // The file header's machine field; 0 when the image is not valid.
    WORD Machine() const;
    // The optional header's subsystem (IMAGE_SUBSYSTEM_WINDOWS_GUI or _CUI for
    // a program); 0 when the image is not valid or its optional header is
    // too short or lies outside the file.
    WORD Subsystem() const;

private:
    bool LocateNtHeaders(size_t viewSize);

    String m_path;
    UniqueFileHandle m_file;
    UniqueHandle m_mapping;
    UniqueMappedView m_view;  // declared last: released first
    const IMAGE_NT_HEADERS* m_ntHeaders = nullptr;
    size_t m_viewSize = 0;
    bool m_valid = false;
};
