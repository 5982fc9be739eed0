#include "remote/page_files.h"

namespace remote {
namespace {

constexpr PageFile kPageFiles[] = {
    {"/", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/index.html", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/remote.css", ":/remote/remote.css", "text/css; charset=utf-8"},
    {"/remote.js", ":/remote/remote.js", "text/javascript; charset=utf-8"},
    {"/controls.js", ":/remote/controls.js", "text/javascript; charset=utf-8"},
    {"/graph.js", ":/remote/graph.js", "text/javascript; charset=utf-8"},
    {"/manifest.webmanifest", ":/remote/manifest.webmanifest", "application/manifest+json"},
    {"/icon.svg", ":/remote/icon.svg", "image/svg+xml"},
    {"/icon-192.png", ":/remote/icon-192.png", "image/png"},
    {"/icon-512.png", ":/remote/icon-512.png", "image/png"},
};

}  // namespace

const PageFile* FindPageFile(QByteArrayView path) {
    for (const PageFile& file : kPageFiles)
        if (path == QByteArrayView(file.path)) return &file;
    return nullptr;
}

}  // namespace remote
