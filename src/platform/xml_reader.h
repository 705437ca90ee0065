#pragma once
// A forward-only XML pull reader over a file: element starts with their attributes,
// end tags, everything else as "other", then the end of the input or an error with
// the parser's message. Used by the material loader.
#include <memory>
#include <string>

namespace platform {

class XmlReader {
 public:
  enum class Node {
    kElement,     // an element start (a self-closing element too; it has no end tag)
    kEndElement,  // an end tag
    kOther,       // text, white space, comments, processing instructions, ...
    kEnd,         // no further node
    kError,       // the input is not well-formed XML (or cannot be read); see Error()
  };

  XmlReader();
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Opens the file for reading; false (with Error() set) when it cannot be opened.
  bool Open(const std::string& path);

  // Moves to the next node. After kEnd or kError every further call returns the same.
  Node Read();

  // Local name of the current element or end tag; empty on other nodes.
  std::string Name() const;
  // True for an element written as <name/>: no end tag follows it.
  bool IsEmptyElement() const;
  // The value of the current element's attribute of that exact name; false when the
  // current node is not an element or has no such attribute.
  bool Attribute(const char* name, std::string& value) const;

  // Why Open or Read failed: "<path>:<line>: <message>" for a parse error.
  const std::string& Error() const { return error_; }

 private:
  struct Parser;
  std::unique_ptr<Parser> parser_;
  std::string path_;
  std::string error_;
  Node last_ = Node::kEnd;
};

}  // namespace platform
