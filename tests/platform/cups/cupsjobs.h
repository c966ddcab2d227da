#pragma once
// What the private CUPS server of run-with-cups.sh received: our backend keeps
// every job's data with the title and copies CUPS handed it, one folder per
// queue under $KARTOLINO_CUPS_OUT.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <gtest/gtest.h>

namespace cupsjobs {

struct Job {
    QString title;
    QString copies;
    QString dataPath;
};

inline QString OutDir()
{
    return qEnvironmentVariable("KARTOLINO_CUPS_OUT");
}

inline QString RunTool(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline void Lpadmin(const QStringList &args)
{
    int rc = 0;
    RunTool("lpadmin", args, &rc);
    ASSERT_EQ(rc, 0) << "lpadmin " << args.join(' ').toStdString();
}

// Every submitted job has reached its backend once the server lists no
// job any more.
inline void WaitUntilIdle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        if (RunTool("lpstat", {"-o"}).trimmed().isEmpty())
            return;
        QThread::msleep(100);
    }
    FAIL() << "CUPS still has jobs after 30 s";
}

inline QList<Job> Jobs(const QString &queue)
{
    QDir dir(OutDir() + '/' + queue);
    QList<Job> jobs;
    QStringList infos = dir.entryList({"job-*.info"}, QDir::Files);
    std::sort(infos.begin(), infos.end(), [](const QString &a, const QString &b) {
        return a.section('-', 1).section('.', 0, 0).toInt() < b.section('-', 1).section('.', 0, 0).toInt();
    });
    for (const QString &name : infos) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        Job job;
        for (const QByteArray &line : f.readAll().split('\n')) {
            const QString text = QString::fromUtf8(line);
            if (text.startsWith("title="))
                job.title = text.mid(6);
            else if (text.startsWith("copies="))
                job.copies = text.mid(7);
        }
        job.dataPath = dir.filePath(QString(name).replace(".info", ".data"));
        jobs << job;
    }
    return jobs;
}

inline QString PdfText(const Job &job)
{
    return RunTool("pdftotext", {job.dataPath, "-"});
}

inline int PdfPages(const Job &job)
{
    const QRegularExpressionMatch m = QRegularExpression(R"(Pages:\s+(\d+))").match(RunTool("pdfinfo", {job.dataPath}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace cupsjobs
