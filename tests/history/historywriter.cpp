// A second program for the reliability tests: records COUNT answers, terms
// PREFIX0 … PREFIX<COUNT-1>, into the history at DATABASE, and after each
// commit writes "committed <term>" on standard output before going on. With
// SHARED_EVERY above zero, every SHARED_EVERY-th lookup also records the term
// 「共享词」, which every writer shares.
#include "history/historystore.h"

#include <QCoreApplication>

#include <cstdio>

using namespace wordlumen;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: history_writer DATABASE PREFIX COUNT [SHARED_EVERY]\n");
        return 2;
    }
    const QString prefix = arguments[2];
    const int count = arguments[3].toInt();
    const int sharedEvery = arguments.value(4).toInt();

    HistoryStore store(arguments[1], {true, HistorySettings::maximumLimit(), {}});
    auto record = [&](const QString &term) {
        const HistoryRecord answer{term,
                                   term,
                                   term + QStringLiteral("的解释：写进历史的一条答案。"),
                                   ExplanationOrigin::Local,
                                   AnswerSource::dictionary(),
                                   {}};
        const auto recorded = store.record(answer);
        if (!recorded) {
            std::fprintf(stderr, "error: %s\n", qPrintable(historyErrorMessage(recorded.error())));
            return false;
        }
        std::printf("committed %s\n", term.toUtf8().constData());
        std::fflush(stdout);
        return true;
    };
    for (int i = 0; i < count; ++i) {
        if (!record(prefix + QString::number(i)))
            return 1;
        if (sharedEvery > 0 && i % sharedEvery == 0 && !record(QStringLiteral("共享词")))
            return 1;
    }
    return 0;
}
