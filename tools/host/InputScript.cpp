#include "InputScript.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tarn {
namespace kova {
namespace host {

namespace {

const char kButtonExample[] = "a button name (such as Select, Downwards or \"Scroll up\")";

struct Token {
    std::string text;
    bool quoted = false;
};

std::string found(const std::vector<Token>& tokens, std::size_t at) {
    if (at >= tokens.size()) return "the end of the line";
    return tokens[at].quoted ? "\"" + tokens[at].text + "\"" : "'" + tokens[at].text + "'";
}

// Splits a line into words and quoted texts; a '#' outside quotes ends it.
bool tokenize(const std::string& line, std::vector<Token>& tokens, std::string& problem) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token;
            token.quoted = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] != '\\') {
                    token.text += line[i];
                    continue;
                }
                char escaped = ++i < line.size() ? line[i] : 0;
                if (escaped == '"' || escaped == '\\') {
                    token.text += escaped;
                } else if (escaped == 'n') {
                    token.text += '\n';
                } else if (escaped == 't') {
                    token.text += '\t';
                } else {
                    problem = "expected \\\" \\\\ \\n or \\t after '\\' in a quoted text";
                    return false;
                }
            }
            if (i >= line.size()) {
                problem = "expected a closing '\"'";
                return false;
            }
            ++i;
            tokens.push_back(token);
        } else {
            std::size_t end = line.find_first_of(" \t\r#\"", i);
            if (end == std::string::npos) end = line.size();
            tokens.push_back(Token{line.substr(i, end - i), false});
            i = end;
        }
    }
    return true;
}

bool readNumber(const std::vector<Token>& tokens, std::size_t at, double& value) {
    if (at >= tokens.size() || tokens[at].quoted || tokens[at].text.empty()) return false;
    const char* text = tokens[at].text.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return *end == 0 && errno == 0 && std::isfinite(value);
}

int findButton(const Token& token) {
    for (int button = 1; button < Button::Count; ++button) {
        const char* name = Button::buttonName(button);
        if (name && token.text == name) return button;
    }
    return 0;
}

// The optional input index at tokens[at]; 0 when the line ends before it.
bool readIndex(const std::vector<Token>& tokens, std::size_t at, int& index, std::string& problem) {
    index = 0;
    if (at >= tokens.size()) return true;
    const std::string& text = tokens[at].text;
    bool digits = !tokens[at].quoted && !text.empty() && text.size() <= 9;
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    if (!digits) {
        problem = "expected an input index (a whole number from 0), found " + found(tokens, at);
        return false;
    }
    index = std::atoi(text.c_str());
    return true;
}

}  // namespace

bool InputScript::parse(const std::string& text, const std::string& fileName, std::string& error) {
    commands_.clear();
    duration_ = 0.0;
    double time = 0.0;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string problem;
        if (!parseLine(text.substr(start, end - start), ++number, time, problem)) {
            error = fileName + ":" + std::to_string(number) + ": " + problem;
            commands_.clear();
            duration_ = 0.0;
            return false;
        }
        start = end + 1;
    }
    duration_ = time;
    return true;
}

bool InputScript::load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(text, path, error);
}

bool InputScript::parseLine(const std::string& line, int number, double& time,
                            std::string& problem) {
    std::vector<Token> tokens;
    if (!tokenize(line, tokens, problem)) return false;
    if (tokens.empty()) return true;
    std::string word = tokens[0].quoted ? std::string() : tokens[0].text;
    InputCommand command;
    command.time = time;
    command.line = number;
    std::size_t next = 1;
    if (word == "press" || word == "release") {
        command.kind = word == "press" ? InputCommand::Press : InputCommand::Release;
        command.code = next < tokens.size() ? findButton(tokens[next]) : 0;
        if (command.code == 0) {
            problem = std::string("expected ") + kButtonExample + ", found " + found(tokens, next);
            return false;
        }
        if (!readIndex(tokens, ++next, command.inputIndex, problem)) return false;
        if (next < tokens.size()) ++next;
    } else if (word == "type") {
        std::vector<int> characters;
        if (next >= tokens.size() || !tokens[next].quoted) {
            problem = "expected a quoted text, found " + found(tokens, next);
            return false;
        }
        if (!decodeUtf8(tokens[next].text, characters)) {
            problem = "expected UTF-8 text, found other bytes";
            return false;
        }
        if (!readIndex(tokens, ++next, command.inputIndex, problem)) return false;
        if (next < tokens.size()) ++next;
        command.kind = InputCommand::Character;
        for (int character : characters) {
            command.code = character;
            commands_.push_back(command);
        }
    } else if (word == "move") {
        double x = 0.0, y = 0.0;
        if (!readNumber(tokens, next, x) || !readNumber(tokens, next + 1, y)) {
            std::size_t bad = readNumber(tokens, next, x) ? next + 1 : next;
            problem = "expected two numbers X Y, found " + found(tokens, bad);
            return false;
        }
        command.kind = InputCommand::Move;
        command.x = static_cast<float>(x);
        command.y = static_cast<float>(y);
        next += 2;
    } else if (word == "wait") {
        double seconds = 0.0;
        if (!readNumber(tokens, next, seconds) || seconds < 0.0) {
            problem = "expected a time in seconds from 0, found " + found(tokens, next);
            return false;
        }
        time += seconds;
        ++next;
    } else if (word == "reload") {
        command.kind = InputCommand::Reload;
    } else {
        problem = "expected press, release, type, move, wait or reload, found " + found(tokens, 0);
        return false;
    }
    if (next < tokens.size()) {
        problem = "expected the end of the line, found " + found(tokens, next);
        return false;
    }
    if (word != "type" && word != "wait") commands_.push_back(command);
    return true;
}

bool InputScript::decodeUtf8(const std::string& text, std::vector<int>& characters) {
    for (std::size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        int code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        static const int kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        characters.push_back(code);
        i += static_cast<std::size_t>(length);
    }
    return true;
}

void InputScript::send(System& system, const InputCommand& command) {
    switch (command.kind) {
        case InputCommand::Press:
            system.buttonPress(command.code, command.inputIndex, 1);
            break;
        case InputCommand::Release:
            system.buttonRelease(command.code, command.inputIndex);
            break;
        case InputCommand::Character:
            system.unicodePress(command.code, command.inputIndex, 1);
            system.unicodeRelease(command.code, command.inputIndex);
            break;
        case InputCommand::Move:
            system.pointerMove(command.x, command.y);
            break;
        case InputCommand::Reload:
            break;
    }
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
