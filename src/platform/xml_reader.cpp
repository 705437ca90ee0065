#include "platform/xml_reader.h"

#include <libxml/xmlreader.h>

#include <cstdio>

namespace platform {

namespace {

#if LIBXML_VERSION >= 21200
using XmlErrorArg = const xmlError*;
#else
using XmlErrorArg = xmlErrorPtr;
#endif

int ReadFromFile(void* context, char* buffer, int length) {
  std::FILE* file = static_cast<std::FILE*>(context);
  const size_t count = std::fread(buffer, 1, static_cast<size_t>(length), file);
  if (count == 0 && std::ferror(file)) return -1;
  return static_cast<int>(count);
}

int CloseFile(void* context) { return std::fclose(static_cast<std::FILE*>(context)); }

}  // namespace

struct XmlReader::Parser {
  xmlTextReaderPtr reader = nullptr;
  std::string firstError;  // the first error the parser reported, with its line

  ~Parser() {
    if (reader != nullptr) xmlFreeTextReader(reader);
  }

  static void OnError(void* self, XmlErrorArg error) {
    Parser* parser = static_cast<Parser*>(self);
    if (error == nullptr || error->level == XML_ERR_WARNING || !parser->firstError.empty()) {
      return;
    }
    std::string message = error->message != nullptr ? error->message : "malformed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
      message.pop_back();
    }
    parser->firstError = std::to_string(error->line) + ": " + message;
  }
};

XmlReader::XmlReader() = default;
XmlReader::~XmlReader() = default;

bool XmlReader::Open(const std::string& path) {
  parser_.reset();
  path_ = path;
  error_.clear();
  last_ = Node::kError;
  xmlInitParser();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error_ = "can't open " + path;
    return false;
  }
  auto parser = std::make_unique<Parser>();
  // No network access and no entity substitution: external entities stay
  // unresolved references instead of pulling in other files. The reader owns the
  // file from here on and closes it, also when it cannot be created.
  parser->reader =
      xmlReaderForIO(ReadFromFile, CloseFile, file, path.c_str(), nullptr, XML_PARSE_NONET);
  if (parser->reader == nullptr) {
    error_ = "can't read " + path;
    return false;
  }
  xmlTextReaderSetStructuredErrorHandler(parser->reader, &Parser::OnError, parser.get());
  parser_ = std::move(parser);
  last_ = Node::kOther;
  return true;
}

XmlReader::Node XmlReader::Read() {
  if (parser_ == nullptr || last_ == Node::kEnd || last_ == Node::kError) return last_;
  const int result = xmlTextReaderRead(parser_->reader);
  if (result == 1 && parser_->firstError.empty()) {
    switch (xmlTextReaderNodeType(parser_->reader)) {
      case XML_READER_TYPE_ELEMENT:
        last_ = Node::kElement;
        break;
      case XML_READER_TYPE_END_ELEMENT:
        last_ = Node::kEndElement;
        break;
      default:
        last_ = Node::kOther;
        break;
    }
  } else if (result == 0 && parser_->firstError.empty()) {
    last_ = Node::kEnd;
  } else {
    last_ = Node::kError;
    error_ = path_ + ":" + (parser_->firstError.empty() ? "0: malformed XML" : parser_->firstError);
  }
  return last_;
}

std::string XmlReader::Name() const {
  if (last_ != Node::kElement && last_ != Node::kEndElement) return std::string();
  const xmlChar* name = xmlTextReaderConstLocalName(parser_->reader);
  return name != nullptr ? reinterpret_cast<const char*>(name) : std::string();
}

bool XmlReader::IsEmptyElement() const {
  return last_ == Node::kElement && xmlTextReaderIsEmptyElement(parser_->reader) == 1;
}

bool XmlReader::Attribute(const char* name, std::string& value) const {
  if (last_ != Node::kElement) return false;
  xmlChar* found = xmlTextReaderGetAttribute(parser_->reader, reinterpret_cast<const xmlChar*>(name));
  if (found == nullptr) return false;
  value = reinterpret_cast<const char*>(found);
  xmlFree(found);
  return true;
}

}  // namespace platform
