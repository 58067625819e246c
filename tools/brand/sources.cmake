# The branding tool's sources, shared by its Windows build (CMakeLists.txt)
# and its Linux build (linux/CMakeLists.txt). Paths are relative to this folder.
set(JL_BRAND_PORTABLE_SOURCES
  Brand.cpp BrandCommand.cpp BrandOptions.cpp DialogFit.cpp DialogTemplate.cpp IconFile.cpp IniText.cpp
  LauncherMessages.cpp LauncherResources.cpp MessageFormat.cpp MessagesFile.cpp PeImage.cpp ResourceTree.cpp
  ResourceWriter.cpp Utf8.cpp VersionResource.cpp)
set(JL_BRAND_WINDOWS_SOURCES FileBytesWindows.cpp)
set(JL_BRAND_POSIX_SOURCES FileBytesPosix.cpp)
