#pragma once

#include "app/Prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace krt::test {

// Answers every question from a script and records what was asked.
struct ScriptedPrompts : Prompts {
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> texts;
    std::deque<std::optional<std::string>> files;
    std::deque<int> filters;
    std::optional<ImageSize> newSize;
    std::deque<bool> yesNo;
    std::optional<ResizeRequest> resize;
    std::vector<std::string> asked;

    Answer AskYesNoCancel(const std::string& text) override
    {
        asked.push_back("ask:" + text);
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> AskText(const std::string& title, const std::string&,
                                       const std::string& proposal) override
    {
        asked.push_back("text:" + title + ":" + proposal);
        auto t = texts.front();
        texts.pop_front();
        return t;
    }
    std::optional<std::string> ChooseFileToOpen(const std::string&) override
    {
        asked.push_back("open");
        auto f = files.front();
        files.pop_front();
        return f;
    }
    std::optional<std::string> ChooseFileToSave(const std::string&, int& filter) override
    {
        asked.push_back("save-as:" + std::to_string(filter));
        if (!filters.empty()) {
            filter = filters.front();
            filters.pop_front();
        }
        auto f = files.front();
        files.pop_front();
        return f;
    }
    std::optional<ImageSize> AskNewImageSize() override
    {
        asked.push_back("new");
        return newSize;
    }
    bool AskYesNo(const std::string& text) override
    {
        asked.push_back("yes-no:" + text);
        const bool yes = yesNo.front();
        yesNo.pop_front();
        return yes;
    }
    std::optional<ResizeRequest> AskResize(int width, int height) override
    {
        asked.push_back("resize:" + std::to_string(width) + "x" + std::to_string(height));
        return resize;
    }
};

} // namespace krt::test
