#pragma once

// What every template test starts from: a fresh program folder, a scripted
// host and a session whose Templates folder lies in that program folder.

#include "session/session.h"
#include "support/change_log.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "templates/template_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvaro::test {

class TemplateSession : public ::testing::Test {
protected:
    TemplateSession() : session(host, dir.Path()) {}

    void MakeFolder() { std::filesystem::create_directory(session.TemplateFolder); }
    std::string InFolder(const std::string& name) const {
        return session.TemplateFolder + "/" + name;
    }

    // Loads the bytes, as the file "load.txt" chosen in the dialog, into the
    // editor and returns what it shows.
    std::string Load(const std::string& bytes) {
        WriteBytes(InFolder("load.txt"), bytes);
        host.AnswerFile(InFolder("load.txt"));
        LoadTemplate(session);
        return session.ws.EditorText;
    }

    // The command showed exactly one message, with these texts, an OK button
    // and (unless told otherwise) the error icon.
    void ExpectOnlyMessage(const std::string& text, const std::string& title,
                           MessageIcon icon = MessageIcon::Critical) {
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.LastMessage().Text, text);
        EXPECT_EQ(host.LastMessage().Title, title);
        EXPECT_EQ(host.LastMessage().Icon, icon);
        EXPECT_EQ(host.LastMessage().Buttons, MessageButtons::Ok);
    }

    TempFolder dir;
    ScriptedHost host;
    Session session;
    test::ChangeLog changes{session};
};

} // namespace kelvaro::test
