// Output formats and default names.
#include "cli/output_file.hpp"

#include <algorithm>

namespace polarsketch::cli {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// The extension with its dot, or "" when the base name has none.
std::string extension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (dot == std::string::npos || dot <= base) return "";
  return path.substr(dot);
}

}  // namespace

std::string extension_list(const std::string& last) {
  const auto formats = figure::figure_formats();
  std::string list;
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (i > 0) list += i + 1 == formats.size() ? last : ", ";
    list += "." + std::string(formats[i].extension);
  }
  return list;
}

FormatChoice output_format(const std::string& path) {
  const std::string ext = lower(extension(path));
  if (const figure::FigureFormat* f =
          ext.empty() ? nullptr : figure::format_of_extension(ext.substr(1)))
    return {f, ""};
  const std::string what =
      ext.empty() ? "the name has no extension" : "'" + ext + "' is not written";
  return {nullptr, what + "; the plot file must end in " + extension_list(" or ")};
}

std::string default_output_name(const std::vector<std::string>& files) {
  if (files.empty() || files.front() == "-") return "stdin.ps";
  const std::string& first = files.front();
  const std::string ext = extension(first);
  std::string name = first.substr(0, first.size() - ext.size()) + ".ps";
  if (std::find(files.begin(), files.end(), name) != files.end()) name = first + ".ps";
  return name;
}

}  // namespace polarsketch::cli
