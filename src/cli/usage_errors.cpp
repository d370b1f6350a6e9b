// CLI11's parse errors said in plain words.
#include "cli/usage_errors.hpp"

#include <string_view>
#include <vector>

namespace polarsketch::cli {

namespace {

// "-o/--output" for the option "-o,--output", "FILE" for the positional.
std::string shown_name(const CLI::Option& option) {
  if (option.get_positional()) return option.get_name(true);
  std::string name;
  for (const std::string& s : option.get_snames()) name += (name.empty() ? "-" : "/-") + s;
  for (const std::string& l : option.get_lnames()) name += (name.empty() ? "--" : "/--") + l;
  return name;
}

// The option a CLI11 message is about: the message starts with its name
// ("--output: At Most 1 required ...", "FILE is required"), after
// "Could not convert: " for a value that is no value of its type.
const CLI::Option* option_in(std::string_view message, const CLI::App& form) {
  constexpr std::string_view kConvert = "Could not convert: ";
  if (message.starts_with(kConvert)) message.remove_prefix(kConvert.size());
  for (const CLI::Option* option : form.get_options()) {
    const std::string name = option->get_name(option->get_positional());
    if (message.starts_with(name) && message.size() > name.size() &&
        (message[name.size()] == ':' || message[name.size()] == ' '))
      return option;
  }
  return nullptr;
}

// What a missing value may be, from the option's type name: the words of a
// choice ("1|2|3"), an example ("pdf,svg,png"); nothing for a placeholder
// such as FILE or LIST.
std::string value_hint(const CLI::Option& option) {
  std::string type = option.get_type_name();
  if (type.starts_with('[') && type.ends_with(']')) type = type.substr(1, type.size() - 2);
  if (type.find('|') != std::string::npos) {
    std::string words;
    for (const char c : type) words += c == '|' ? std::string(", ") : std::string(1, c);
    return ": one of " + words;
  }
  const bool placeholder = type.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
  return placeholder ? "" : ", e.g. " + type;
}

// "--planes needs a value: one of both, great-circles, poles".
std::string missing_value(const CLI::Option& option) {
  return shown_name(option) + " needs a value" + value_hint(option);
}

// Whether an argument is an option rather than a value: a long option, or a
// short one the command knows ("-5" stays a number, "-" standard input).
bool is_option(const std::string& argument, const CLI::App& form) {
  return (argument.starts_with("--") && argument.size() > 2) ||
         (argument.size() == 2 && argument[0] == '-' &&
          form.get_option_no_throw(argument) != nullptr);
}

// An argument that no option and no FILE took: an option of another command
// (or of no command), an unknown option, a stray word.
std::string unexpected(const std::string& argument, const CLI::App& form, const CLI::App& program) {
  if (argument.size() < 2 || argument[0] != '-') return "unexpected argument '" + argument + "'";
  const std::string name = argument.substr(0, argument.find('='));
  const std::string quoted = "'" + name + "'";
  // An option of a command given before the command's name, or with none.
  for (const CLI::App* command : program.get_subcommands({}))
    if ((&form == &program || command == &form) && command->get_option_no_throw(name) != nullptr)
      return quoted + " goes after a command: polarsketch " + command->get_name() + " " + name +
             " ...";
  if (&form != &program) {
    std::vector<const CLI::App*> others{&program};
    for (const CLI::App* command : program.get_subcommands({})) others.push_back(command);
    for (const CLI::App* other : others)
      if (other != &form && other->get_option_no_throw(name) != nullptr)
        return quoted + " is not an option of " + form.get_name();
  }
  return "unknown option " + quoted;
}

// Whether `argument` names an option, of the program or of one of its
// commands, that takes a value.
bool takes_value(const std::string& argument, const CLI::App& program) {
  std::vector<const CLI::App*> forms{&program};
  for (const CLI::App* command : program.get_subcommands({})) forms.push_back(command);
  for (const CLI::App* form : forms) {
    const CLI::Option* option = form->get_option_no_throw(argument);
    if (option != nullptr && !option->get_positional() && option->get_expected_max() != 0)
      return true;
  }
  return false;
}

bool is_command(const std::string& word, const CLI::App& program) {
  for (const CLI::App* command : program.get_subcommands({}))
    if (command->get_name() == word) return true;
  return false;
}

}  // namespace

std::string plain_usage_error(const CLI::ParseError& error, const CLI::App& form,
                              const CLI::App& program) {
  const std::string message = error.what();
  // CLI11 checks the required FILE before the arguments left over; the
  // argument it could not place is the first fault.
  const std::vector<std::string> left = program.remaining(true);
  if (!left.empty() && (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr ||
                        dynamic_cast<const CLI::RequiredError*>(&error) != nullptr))
    return unexpected(left.front(), form, program);

  const CLI::Option* option = option_in(message, form);
  if (option == nullptr) return message;
  const std::string name = shown_name(*option);
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) return "no " + name + " given";
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    if (message.find("At Most") != std::string::npos) return name + " is given more than once";
    if (message.find("missing") != std::string::npos) return missing_value(*option);
  }
  // A flag given a value it cannot take ("--page=x").
  if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr &&
      option->get_expected_max() == 0)
    return name + " takes no value";
  return message;
}

std::string option_taken_as_value(const std::vector<std::string>& args, const CLI::App& form) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    const CLI::Option* option = form.get_option_no_throw(args[i]);
    if (option != nullptr && !option->get_positional() && option->get_expected_max() != 0 &&
        is_option(args[i + 1], form))
      return missing_value(*option);
  }
  return "";
}

std::string unknown_command(const std::vector<std::string>& args, const CLI::App& program) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() > 1 && word[0] == '-') continue;
    if (is_command(word, program)) return "";
    if (i > 0 && takes_value(args[i - 1], program)) continue;
    std::vector<std::string> names;
    for (const CLI::App* command : program.get_subcommands({})) names.push_back(command->get_name());
    std::string list;
    for (std::size_t n = 0; n < names.size(); ++n)
      list += (n == 0 ? "" : n + 1 == names.size() ? " and " : ", ") + names[n];
    return "unknown command '" + word + "'; the commands are " + list;
  }
  return "";
}

}  // namespace polarsketch::cli
