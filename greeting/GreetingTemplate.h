#pragma once
#include <string>

// The greeting type that starts from nothing; it has no template file.
inline constexpr char EmptyGreetingType[] = "Start with an empty greeting";

// The folder of the ready-made greetings: "Templates" beside the program file.
inline constexpr char TemplateFolderName[] = "Templates";

// The template file of a greeting type, in the Templates folder beside the running
// program; empty when no such path fits.
std::string TemplatePath(const std::string& greetingType);

// Replaces every occurrence of the placeholder in the text by the value, searching on
// after each inserted value (so a value holding its own placeholder cannot loop); true
// when there was at least one.
bool ReplacePlaceholder(std::string& text, const std::string& placeholder, const std::string& value);
