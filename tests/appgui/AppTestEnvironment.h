#pragma once

#include "app/RepeaterApp.h"
#include "media/MediaPlayer.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>

namespace lurvo::test {

// The application on temporary folders, without message boxes, sounds or a browser: errors are
// collected, questions answered 否, the lesson plays silently in real time. PATH leads nowhere
// while the object lives, so the helper programs are found only where provideTools puts them.
class AppTestEnvironment {
public:
    QTemporaryDir resources;
    QTemporaryDir data;
    QStringList errors;
    QStringList notices;
    app::RepeaterApp::Environment env;

    AppTestEnvironment() : savedPath_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(resources.filePath("no-such-folder")));
        env.resourceFolder = resources.path();
        env.dataFolder = QDir(data.path()).filePath("LurvoRepeater");
        env.checkMediaComponents = [] { return 1; };
        env.showError = [this](const QString& text) { errors << text; };
        env.invalidInputSound = [] {};
        env.openUrl = [](const QUrl&) { return true; };
        env.showInfo = [this](const QString& text) { notices << text; };
        env.askYesNoCancel = [](const QString&) { return player::Answer::No; };
        env.askOpenPath = [](const QString&) { return QString(); };
        env.askSavePath = [](const QString&) { return QString(); };
        env.runRepairTool = [](const QString&, const QStringList&) {};
        env.makePlayer = [] { return std::make_unique<media::MediaPlayer>("fakesink sync=true"); };
        env.hasAudioOutput = [] { return true; };
    }
    ~AppTestEnvironment() { qputenv("PATH", savedPath_); }
    AppTestEnvironment(const AppTestEnvironment&) = delete;
    AppTestEnvironment& operator=(const AppTestEnvironment&) = delete;

    // Empty scripts standing in for the helper programs, in the resource folder.
    bool provideTools(std::initializer_list<const char*> names = {"mp3val", "mp3splt"}) {
        for (const char* name : names) {
            QFile tool(resources.filePath(name));
            if (!tool.open(QIODevice::WriteOnly) || tool.write("#!/bin/sh\n") < 0)
                return false;
            tool.close();
            tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return true;
    }

private:
    QByteArray savedPath_;
};

} // namespace lurvo::test
