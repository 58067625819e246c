#include "base/Encoding.h"
#include "base/ResourceText.h"
#include "base/SplitList.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "jvm/AnsiPaths.h"
#include "res/resource.h"

// The runtime reads its option strings in the ANSI code page. An option with
// text outside it is never handed over changed: paths go in their short
// form, application properties are set once the VM exists, and anything
// else is refused with a message.

namespace {

// Options whose value is a path, or a ";" list of paths, that the runtime
// opens while it starts.
const wchar_t* const kPathOptions[] = {
    L"-Djava.class.path=", L"-Djava.library.path=", L"--module-path=",   L"--upgrade-module-path=",
    L"-Xbootclasspath/a:", L"-XX:SharedArchiveFile=", L"-Djava.home=",   L"-Duser.dir=",
    L"-Duser.home=",       L"-Djava.io.tmpdir=",      L"-Djava.security.policy=",
};

// Properties the runtime reads while it starts, or caches then: setting them
// later would leave the program running without them.
const wchar_t* const kStartupProperties[] = {
    L"jdk.module.", L"java.system.class.loader", L"java.security.manager", L"file.encoding", L"sun.jnu.encoding",
    L"java.class.path", L"java.library.path",
};

bool IsStartupProperty(const String& name)
{
    for (const wchar_t* startup : kStartupProperties) {
        int length = static_cast<int>(wcslen(startup));
        if (startup[length - 1] == L'.' ? name.StartsWith(startup) : name.Equals(startup))
            return true;
    }
    return false;
}

bool Contains(const StringList* list, const String& item)
{
    if (list)
        for (const String& entry : *list)
            if (entry.EqualsNoCase(item.CStr()))
                return true;
    return false;
}

}  // namespace

bool LauncherApp::AddAnsiOption(const String& option, String& refusal, const StringList* droppable)
{
    bool lossless = true;
    AnsiString ansi = ToAnsi(option, &lossless);
    if (lossless) {
        m_jvmOptions.Append(static_cast<AnsiString&&>(ansi));
        return true;
    }

    for (const wchar_t* prefix : kPathOptions) {
        if (!option.StartsWith(prefix))
            continue;
        int length = static_cast<int>(wcslen(prefix));
        String rewritten = option.Left(length);
        StringList items;
        SplitList(option.Mid(length), L";", items);
        bool first = true;
        for (const String& item : items) {
            String usable;
            AnsiPathForm form = FindAnsiPathForm(item, usable);
            if (form == AnsiPathForm::Short)
                JL_TRACE("%s: %s is outside the ANSI code page, passed as %s", prefix, item.CStr(), usable.CStr());
            if (usable.IsEmpty() && Contains(droppable, item)) {
                JL_TRACE("%s: %s is outside the ANSI code page and has no short form: left out", prefix, item.CStr());
                continue;
            }
            if (usable.IsEmpty() && !item.IsEmpty()) {
                refusal = PathRefusalText(item, form);
                return false;
            }
            if (!first)
                rewritten.Append(L';');
            rewritten.Append(usable);
            first = false;
        }
        m_jvmOptions.Append(ToAnsi(rewritten));
        return true;
    }

    if (option.StartsWith(L"-D") && option.Length() > 2 && option[2] != L'=') {
        int equals = option.Find(L'=');
        String name = equals == String::npos ? option.Mid(2) : option.Mid(2, equals - 2);
        if (!IsStartupProperty(name)) {
            JL_TRACE("VM option %s is outside the ANSI code page: set through System.setProperty", option.CStr());
            m_lateProperties.Append(equals == String::npos ? name + L"=" : option.Mid(2));
            return true;
        }
    }

    if (!m_mainModule.IsEmpty() && option.StartsWith(L"-Djdk.module.main="))
        refusal = FormatText(TextId(IDS_ANSI_MAIN_MODULE), m_mainModule.CStr(), ThreadAnsiCodePage());
    else
        refusal = FormatText(TextId(IDS_ANSI_OPTION_REFUSED), option.CStr(), ThreadAnsiCodePage());
    return false;
}
