#include "settings/SettingWords.h"

bool IsYesAnyCase(const String& value)
{
    return value.EqualsNoCase(L"Yes");
}

bool IsLowercaseYes(const String& value)
{
    return value.Equals(L"yes");
}

bool IsServiceApplication(const String& value)
{
    return value.Equals(L"service");
}

int JvmTypeFromText(const String& value)
{
    if (value.Equals(L"server"))
        return 1;
    if (value.Equals(L"favor_server"))
        return 2;
    return 0;
}

JvmSourceFlags JvmSourceFromText(const String& value)
{
    if (value.IsEmpty())
        return {true, true, true};
    if (value.Equals(L"favor_JRE"))
        return {false, true, true};
    if (value.Equals(L"favor_JDK"))
        return {true, false, true};
    if (value.Equals(L"only_JRE"))
        return {false, true, false};
    if (value.Equals(L"only_JDK"))
        return {true, false, false};
    return {false, false, false};
}

VmProviderFlags VmProviderFromText(const String& value)
{
    //                                  allow/prefer JRockit, allow/prefer Sun, allow/prefer IBM
    if (value.EqualsNoCase(L"jrockit"))
        return {true, true, false, false, false, false};
    if (value.EqualsNoCase(L"ibm"))
        return {false, false, false, false, true, true};
    if (value.EqualsNoCase(L"favor_sun"))
        return {true, false, true, true, true, false};
    if (value.EqualsNoCase(L"favor_jrockit"))
        return {true, true, true, false, true, false};
    if (value.EqualsNoCase(L"favor_ibm"))
        return {true, false, true, false, true, true};
    if (value.EqualsNoCase(L"any"))
        return {true, false, true, false, true, false};
    return {false, false, true, true, false, false};
}

namespace {

JavaVersion VersionBound(const String& value, int32_t openEnd)
{
    JavaVersion version;
    if (value.Equals(L"any")) {
        for (int32_t& c : version.component)
            c = openEnd;
        version.count = 4;
        return version;
    }
    // An unparsable text leaves the all-zero version, which is what is wanted.
    ParseVersion(value, openEnd, version);
    return version;
}

}  // namespace

JavaVersion MinimumVersionFromText(const String& value)
{
    return VersionBound(value, 0);
}

JavaVersion MaximumVersionFromText(const String& value)
{
    return VersionBound(value, kVersionOpenEnd);
}

bool IsAbsoluteSettingPath(const String& path)
{
    if (path.Length() < 2)
        return false;
    return (path[0] == L'\\' && path[1] == L'\\') || path[1] == L':';
}

String CompleteSettingPath(const String& value, const String& modulePath)
{
    if (value.IsEmpty() || IsAbsoluteSettingPath(value))
        return value;
    int slash = modulePath.ReverseFind(L'\\');
    String completed = slash < 0 ? String() : modulePath.Left(slash);
    completed.Append(L'\\');
    completed.Append(value);
    return completed;
}

String MainClassInternalName(const String& value)
{
    String name(value);
    name.ReplaceAll(L'.', L'/');
    return name;
}

String MainModuleText(const String& value)
{
    int slash = value.Find(L'/');
    if (slash < 0)
        return value;
    String className = value.Mid(slash + 1);
    className.ReplaceAll(L'/', L'.');
    return value.Left(slash + 1) + className;
}

String MainModuleName(const String& mainModule)
{
    int slash = mainModule.Find(L'/');
    return slash < 0 ? mainModule : mainModule.Left(slash);
}

String MainModuleClass(const String& mainModule)
{
    int slash = mainModule.Find(L'/');
    return slash < 0 ? String() : mainModule.Mid(slash + 1);
}
