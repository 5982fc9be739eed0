#include "remote/page_files.h"

namespace remote {
namespace {

constexpr PageFile kPageFiles[] = {
    {"/", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/index.html", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/remote.css", ":/remote/remote.css", "text/css; charset=utf-8"},
    {"/remote.js", ":/remote/remote.js", "text/javascript; charset=utf-8"},
};

}  // namespace

const PageFile* FindPageFile(QByteArrayView path) {
    for (const PageFile& file : kPageFiles)
        if (path == QByteArrayView(file.path)) return &file;
    return nullptr;
}

}  // namespace remote
