#pragma once
// Writes the service's XML answers: a "kestro-api" root with a "result" element carrying the
// code, followed by the data elements of the request. Text values are cleaned so that the
// document is always well-formed UTF-8, whatever was stored.

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace zentri::server {

class Answer {
  public:
    explicit Answer(int code);

    // A data element under "kestro-api", after "result".
    pugi::xml_node Add(const char* name);
    std::string Xml() const;
    int Code() const { return code_; }

  private:
    pugi::xml_document doc_;
    pugi::xml_node root_;
    int code_;
};

// Attribute writers; the number forms are those the client reads.
void SetText(pugi::xml_node node, const char* name, std::string_view value);
void SetInt(pugi::xml_node node, const char* name, int64_t value);
// A rating average with at most two decimals and "." as separator ("4", "3.75").
void SetRate(pugi::xml_node node, const char* name, double value);

// Replaces malformed UTF-8 and characters XML cannot carry by U+FFFD.
std::string CleanXmlText(std::string_view text);

}  // namespace zentri::server
