// Module loading on its Win32 calls, and the calls of a loaded library's exports.
#include <windows.h>

// <windows.h> maps these names to their ANSI functions; here they are the interface's methods.
#undef LoadLibrary

#include "os/win32/Win32System.h"

#include <stdexcept>

namespace os::win32 {

namespace {

using Word = std::uintptr_t;
using Export0 = void(WINAPI*)();
using Export1 = void(WINAPI*)(Word);
using Export2 = void(WINAPI*)(Word, Word);
using Export3 = void(WINAPI*)(Word, Word, Word);
using Export4 = void(WINAPI*)(Word, Word, Word, Word);

} // namespace

Handle Win32System::LoadLibrary(const std::string& name) {
    return reinterpret_cast<Handle>(::LoadLibraryA(name.c_str()));
}

std::uintptr_t Win32System::GetProcAddress(Handle module, const std::string& name) {
    return reinterpret_cast<std::uintptr_t>(
        ::GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str()));
}

void Win32System::FreeLibrary(Handle module) {
    ::FreeLibrary(reinterpret_cast<HMODULE>(module));
}

// A __stdcall function takes its arguments off the stack itself, so the call must pass exactly
// as many words as the export expects: one function type per count.
void Win32System::CallExport(std::uintptr_t procedure, const std::vector<ExportArgument>& args) {
    std::vector<Word> words;
    for (const ExportArgument& arg : args) {
        if (const auto* number = std::get_if<std::int32_t>(&arg))
            words.push_back(static_cast<Word>(static_cast<std::uint32_t>(*number)));
        else
            words.push_back(reinterpret_cast<Word>(std::get<std::string>(arg).c_str()));
    }
    switch (words.size()) {
    case 0:
        reinterpret_cast<Export0>(procedure)();
        break;
    case 1:
        reinterpret_cast<Export1>(procedure)(words[0]);
        break;
    case 2:
        reinterpret_cast<Export2>(procedure)(words[0], words[1]);
        break;
    case 3:
        reinterpret_cast<Export3>(procedure)(words[0], words[1], words[2]);
        break;
    case 4:
        reinterpret_cast<Export4>(procedure)(words[0], words[1], words[2], words[3]);
        break;
    default:
        throw std::logic_error("an export call with more than four arguments");
    }
}

} // namespace os::win32
