#pragma once

// The entry point of the projection builder, the outside library that turns an "in." projection file
// into the unit's "out." file: a count of 8-bit strings (an empty one, the input name, the output
// name), a buffer for a failure text and its size. Returns 0 on success.
extern "C" {
typedef int (*PFN_DLL_BUILD_PRJ_Convert)(int argc, char** argv, char* errore, int dimensioneErrore);
}

// The builder's library and its entry, as the path looks them up.
constexpr const wchar_t* NOME_DLL_BUILD_PRJ = L"build_prj_ZT.dll";
constexpr const char* SIMBOLO_BUILD_PRJ = "DLL_BUILD_PRJ_Convert";
