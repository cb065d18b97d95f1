// The in-memory file system.
//
// Every folder holds its entries keyed by a serial number that grows with
// each entry made (a file moved in counts as made there), which gives the
// listing order, and an index from each entry's name, letter case folded in
// the Windows style, to its serial. The Windows style's top level holds one
// folder per drive ("C:", "D:"); the POSIX style's top level is "/" itself.

#include "platform/memory_file_system.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/wildcard.h"

namespace velkaro {

struct MemoryFileSystem::Node {
  Text name;
  bool isFolder = false;
  Text content;
  uint64_t serial = 0;
  Node* parent = nullptr;
  std::map<uint64_t, std::unique_ptr<Node>> children;  // listing order
  std::map<Text, uint64_t> index;                      // folded name
  uint64_t nextSerial = 1;  // used on the top-level node only
};

namespace {

using Node = MemoryFileSystem::Node;

bool isTwoByteLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isSeparator(PathStyle style, char c) {
  return c == '/' || (style == PathStyle::kWindows && c == '\\');
}

// A path taken apart: the drive ("C:", Windows only) and the names below
// the top, "." and ".." already resolved. valid is false for a path that
// can name nothing.
struct ParsedPath {
  bool valid = false;
  Text drive;
  TextList parts;
  bool endsInSeparator = false;  // so it cannot name a file
};

// Whether a Windows name holds a character no Windows name may hold.
bool isBadWindowsName(const Text& name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (isTwoByteLead(c)) {
      ++i;
      continue;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
      return true;
    }
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
      case '?':
      case '*':
        return true;
      default:
        break;
    }
  }
  return false;
}

// Splits rest at separators (the two-byte rule in the Windows style),
// dropping empty pieces and resolving "." and "..".
bool appendParts(PathStyle style, std::string_view rest, ParsedPath* parsed) {
  TextList* parts = &parsed->parts;
  Text piece;
  auto flush = [&]() -> bool {
    if (piece.empty() || piece == ".") {
      // Nothing to add.
    } else if (piece == "..") {
      if (!parts->empty()) {
        parts->pop_back();
      }
    } else {
      if (style == PathStyle::kWindows && isBadWindowsName(piece)) {
        return false;
      }
      parts->push_back(piece);
    }
    piece.clear();
    return true;
  };
  for (size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    parsed->endsInSeparator = false;
    if (style == PathStyle::kWindows && isTwoByteLead(c) &&
        i + 1 < rest.size()) {
      piece.push_back(c);
      piece.push_back(rest[++i]);
    } else if (isSeparator(style, c)) {
      parsed->endsInSeparator = true;
      if (!flush()) {
        return false;
      }
    } else {
      piece.push_back(c);
    }
  }
  return flush();
}

ParsedPath parsePath(PathStyle style, std::string_view path) {
  ParsedPath parsed;
  if (path.find('\0') != std::string_view::npos) {
    return parsed;
  }
  std::string_view rest = path;
  if (style == PathStyle::kWindows) {
    if (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':') {
      parsed.drive = Text{upperAscii(path[0]), ':'};
      rest = path.substr(2);
    } else if (path.size() >= 2 && isSeparator(style, path[0]) &&
               isSeparator(style, path[1])) {
      // "\\\\server\\share" and device paths: no network here.
      return parsed;
    } else {
      parsed.drive = "C:";
    }
  }
  parsed.valid = appendParts(style, rest, &parsed);
  return parsed;
}

Text keyOf(PathStyle style, const Text& name) {
  if (style == PathStyle::kPosix) {
    return name;
  }
  Text key = name;
  for (size_t i = 0; i < key.size(); ++i) {
    if (isTwoByteLead(key[i])) {
      ++i;  // the second byte of a two-byte character is not a letter
    } else {
      key[i] = upperAscii(key[i]);
    }
  }
  return key;
}

Node* childOf(PathStyle style, const Node* folder, const Text& name) {
  const auto found = folder->index.find(keyOf(style, name));
  if (found == folder->index.end()) {
    return nullptr;
  }
  return folder->children.at(found->second).get();
}

Node* topOf(Node* root) {
  while (root->parent != nullptr) {
    root = root->parent;
  }
  return root;
}

Node* attach(PathStyle style, Node* folder, std::unique_ptr<Node> child) {
  Node* top = topOf(folder);
  child->serial = top->nextSerial++;
  child->parent = folder;
  Node* raw = child.get();
  folder->index[keyOf(style, raw->name)] = raw->serial;
  folder->children.emplace(raw->serial, std::move(child));
  return raw;
}

std::unique_ptr<Node> detach(PathStyle style, Node* node) {
  Node* folder = node->parent;
  folder->index.erase(keyOf(style, node->name));
  auto found = folder->children.find(node->serial);
  std::unique_ptr<Node> owned = std::move(found->second);
  folder->children.erase(found);
  owned->parent = nullptr;
  return owned;
}

std::unique_ptr<Node> makeNode(const Text& name, bool isFolder,
                               const Text& content = "") {
  auto node = std::make_unique<Node>();
  node->name = name;
  node->isFolder = isFolder;
  node->content = content;
  return node;
}

// The folder at the top of a parsed path: the drive's folder (made when
// create is true) or the POSIX root.
Node* startOf(PathStyle style, Node* root, const ParsedPath& parsed,
              bool create) {
  if (style == PathStyle::kPosix) {
    return root;
  }
  Node* drive = childOf(style, root, parsed.drive);
  if (drive == nullptr && create) {
    drive = attach(style, root, makeNode(parsed.drive, true));
  }
  return drive;
}

// The node that parts[0 .. count) names below start; null when missing or
// when a file stands where a folder is needed.
Node* walk(PathStyle style, Node* start, const TextList& parts, size_t count) {
  Node* at = start;
  for (size_t i = 0; at != nullptr && i < count; ++i) {
    if (!at->isFolder) {
      return nullptr;
    }
    at = childOf(style, at, parts[i]);
  }
  return at;
}

// Makes every missing folder of parts[0 .. count) below start. Null when a
// file stands in the way.
Node* makeFolders(PathStyle style, Node* start, const TextList& parts,
                  size_t count) {
  Node* at = start;
  for (size_t i = 0; i < count; ++i) {
    Node* next = childOf(style, at, parts[i]);
    if (next == nullptr) {
      next = attach(style, at, makeNode(parts[i], true));
    } else if (!next->isFolder) {
      return nullptr;
    }
    at = next;
  }
  return at;
}

class MemorySearch : public DirectorySearch {
 public:
  MemorySearch(PathStyle style, const Node* folder, Text pattern,
               const std::function<void(const FoundEntry&)>* onListed)
      : style_(style),
        folder_(folder),
        pattern_(std::move(pattern)),
        onListed_(onListed) {}

  // The serial of the first entry after `after` whose name matches, or 0.
  uint64_t nextMatch(uint64_t after) const {
    for (auto it = folder_->children.upper_bound(after);
         it != folder_->children.end(); ++it) {
      if (wildcardMatches(pattern_, it->second->name,
                          style_ == PathStyle::kWindows)) {
        return it->first;
      }
    }
    return 0;
  }

  bool next(FoundEntry* entry) override {
    const uint64_t serial = nextMatch(last_);
    if (serial == 0) {
      return false;
    }
    last_ = serial;
    const Node* node = folder_->children.at(serial).get();
    FoundEntry found{node->name, node->isFolder};
    // A copy: the callback may install another one, or change the folder.
    const std::function<void(const FoundEntry&)> onListed = *onListed_;
    if (onListed) {
      onListed(found);
    }
    *entry = std::move(found);
    return true;
  }

 private:
  PathStyle style_;
  const Node* folder_;
  Text pattern_;
  const std::function<void(const FoundEntry&)>* onListed_;
  uint64_t last_ = 0;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem(PathStyle style)
    : style_(style), root_(makeNode("", true)) {
  if (style_ == PathStyle::kWindows) {
    attach(style_, root_.get(), makeNode("C:", true));
  }
}

MemoryFileSystem::~MemoryFileSystem() = default;

bool MemoryFileSystem::addFolder(const Text& path) {
  const ParsedPath parsed = parsePath(style_, path);
  if (!parsed.valid) {
    return false;
  }
  Node* start = startOf(style_, root_.get(), parsed, true);
  return makeFolders(style_, start, parsed.parts, parsed.parts.size()) !=
         nullptr;
}

bool MemoryFileSystem::addFile(const Text& path, const Text& content) {
  const ParsedPath parsed = parsePath(style_, path);
  if (!parsed.valid || parsed.parts.empty() || parsed.endsInSeparator) {
    return false;
  }
  Node* start = startOf(style_, root_.get(), parsed, true);
  Node* folder =
      makeFolders(style_, start, parsed.parts, parsed.parts.size() - 1);
  if (folder == nullptr) {
    return false;
  }
  const Text& name = parsed.parts.back();
  if (childOf(style_, folder, name) != nullptr) {
    return false;
  }
  attach(style_, folder, makeNode(name, false, content));
  return true;
}

bool MemoryFileSystem::exists(const Text& path) const {
  const ParsedPath parsed = parsePath(style_, path);
  if (!parsed.valid) {
    return false;
  }
  Node* start = startOf(style_, root_.get(), parsed, false);
  return walk(style_, start, parsed.parts, parsed.parts.size()) != nullptr;
}

bool MemoryFileSystem::isFolder(const Text& path) const {
  const ParsedPath parsed = parsePath(style_, path);
  if (!parsed.valid) {
    return false;
  }
  Node* start = startOf(style_, root_.get(), parsed, false);
  const Node* node = walk(style_, start, parsed.parts, parsed.parts.size());
  return node != nullptr && node->isFolder;
}

std::optional<Text> MemoryFileSystem::contentOf(const Text& path) const {
  const ParsedPath parsed = parsePath(style_, path);
  if (!parsed.valid) {
    return std::nullopt;
  }
  Node* start = startOf(style_, root_.get(), parsed, false);
  const Node* node = walk(style_, start, parsed.parts, parsed.parts.size());
  if (node == nullptr || node->isFolder) {
    return std::nullopt;
  }
  return node->content;
}

TextList MemoryFileSystem::namesIn(const Text& folder) const {
  TextList names;
  const ParsedPath parsed = parsePath(style_, folder);
  if (!parsed.valid) {
    return names;
  }
  Node* start = startOf(style_, root_.get(), parsed, false);
  const Node* node = walk(style_, start, parsed.parts, parsed.parts.size());
  if (node == nullptr || !node->isFolder) {
    return names;
  }
  for (const auto& [serial, child] : node->children) {
    names.push_back(child->name);
  }
  return names;
}

namespace {

void collectFiles(const Node& folder, const Text& path, const Text& separator,
                  std::vector<std::pair<Text, Text>>* files) {
  for (const auto& [serial, child] : folder.children) {
    const Text childPath = path + separator + child->name;
    if (child->isFolder) {
      collectFiles(*child, childPath, separator, files);
    } else {
      files->emplace_back(childPath, child->content);
    }
  }
}

}  // namespace

size_t MemoryFileSystem::fileCount() const { return allFiles().size(); }

std::vector<std::pair<Text, Text>> MemoryFileSystem::allFiles() const {
  std::vector<std::pair<Text, Text>> files;
  const Text& separator = separatorOf(style_);
  if (style_ == PathStyle::kPosix) {
    collectFiles(*root_, "", separator, &files);
  } else {
    for (const auto& [serial, drive] : root_->children) {
      collectFiles(*drive, drive->name, separator, &files);
    }
  }
  return files;
}

void MemoryFileSystem::setMoveRefusal(
    std::function<bool(const Text&, const Text&)> refuse) {
  refuse_ = std::move(refuse);
}

int MemoryFileSystem::movesMade() const { return movesMade_; }

void MemoryFileSystem::setOnListed(
    std::function<void(const FoundEntry&)> onListed) {
  onListed_ = std::move(onListed);
}

PathStyle MemoryFileSystem::pathStyle() const { return style_; }

std::unique_ptr<DirectorySearch> MemoryFileSystem::findFiles(
    const Text& searchText) {
  // The folder is everything up to the last separator (or the drive), the
  // pattern what follows it.
  size_t patternAt = 0;
  if (style_ == PathStyle::kWindows && searchText.size() >= 2 &&
      isAsciiLetter(searchText[0]) && searchText[1] == ':') {
    patternAt = 2;
  }
  for (size_t i = 0; i < searchText.size(); ++i) {
    if (style_ == PathStyle::kWindows && isTwoByteLead(searchText[i])) {
      ++i;
    } else if (isSeparator(style_, searchText[i])) {
      patternAt = i + 1;
    }
  }
  if (patternAt >= searchText.size()) {
    return nullptr;  // no pattern
  }
  const Text folderText = searchText.substr(0, patternAt);
  const Text pattern = searchText.substr(patternAt);
  const ParsedPath parsed = parsePath(style_, folderText);
  if (!parsed.valid || pattern.find('\0') != Text::npos) {
    return nullptr;
  }
  Node* start = startOf(style_, root_.get(), parsed, false);
  const Node* folder = walk(style_, start, parsed.parts, parsed.parts.size());
  if (folder == nullptr || !folder->isFolder) {
    return nullptr;
  }
  auto search =
      std::make_unique<MemorySearch>(style_, folder, pattern, &onListed_);
  if (search->nextMatch(0) == 0) {
    return nullptr;
  }
  return search;
}

bool MemoryFileSystem::moveFile(const Text& source, const Text& target) {
  if (refuse_ && refuse_(source, target)) {
    return false;
  }
  const ParsedPath from = parsePath(style_, source);
  const ParsedPath to = parsePath(style_, target);
  if (!from.valid || !to.valid || from.parts.empty() || to.parts.empty() ||
      from.endsInSeparator || to.endsInSeparator) {
    return false;
  }
  Node* node = walk(style_, startOf(style_, root_.get(), from, false),
                    from.parts, from.parts.size());
  if (node == nullptr || node->isFolder) {
    return false;
  }
  Node* folder = walk(style_, startOf(style_, root_.get(), to, false), to.parts,
                      to.parts.size() - 1);
  if (folder == nullptr || !folder->isFolder) {
    return false;
  }
  const Text& name = to.parts.back();
  if (childOf(style_, folder, name) != nullptr) {
    return false;  // never replaces, not even the file itself
  }
  std::unique_ptr<Node> moved = detach(style_, node);
  moved->name = name;
  attach(style_, folder, std::move(moved));
  ++movesMade_;
  return true;
}

int MemoryFileSystem::fileNameStart(const Text& path) {
  return style_ == PathStyle::kWindows ? windowsFileNameStart(path)
                                       : posixFileNameStart(path);
}

}  // namespace velkaro
