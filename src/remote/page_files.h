#pragma once
// The files the page is made of, as the server hands them out. A new file
// is one row in kPageFiles and one entry in the resource list in
// CMakeLists.txt.
#include <QByteArrayView>

namespace remote {

struct PageFile {
    const char* path;  // as a browser asks for it, before the query
    const char* resource;
    const char* type;
};

// Where the page's WebSocket is taken; no file is served there.
inline constexpr char kSocketPath[] = "/socket";

// The file served at `path` (compared as sent, not decoded), or null.
const PageFile* FindPageFile(QByteArrayView path);

}  // namespace remote
