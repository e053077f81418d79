// Reads the help file for the help window: its text, or what keeps it from being read.
#pragma once

#include <string>

struct HelpDocument {
  bool readable = false;
  std::string markdown;  // the document, when readable
  std::string problem;   // a sentence for the reader, when not
};

// Reads a Markdown help file. A missing, unreadable, oversized or non-UTF-8
// file gives a document that is not readable and says why, naming the file.
HelpDocument LoadHelpDocument(const std::string& path);
