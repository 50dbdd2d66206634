// Each layer traces into its own logging category, so a logging rule switches one layer's
// lines on and leaves the others off.
#include "foundation/texttools.h"
#include "platform/folderlock.h"
#include "protocol/quibrequest.h"
#include "testsupport.h"

namespace {
QStringList g_logged; // "category: message" of each kovferrit line Qt's logging let through

void keepLine(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    const QString category = QString::fromUtf8(context.category);
    if (category.startsWith(u"kovferrit."_s))
        g_logged << category + u": "_s + message;
}
} // namespace

class TestLogging : public EnvironmentTest
{
    Q_OBJECT

private slots:
    void rulesSwitchLayers_data()
    {
        Columns<QString, QStringList>::add(); // the rules; the lines logged
        const QString foundation = u"kovferrit.foundation: kov_URLEncode Sting is empty"_s;
        const QString platform =
            u"kovferrit.platform: FolderLock::cannot open no-such-folder/x.lock"_s;
        const QString protocol = u"kovferrit.protocol: CQuibQuery::Get Query Session Is Nothing"_s;
        QTest::newRow("no rule: all off") << QString() << QStringList();
        QTest::newRow("one layer on")
            << u"kovferrit.protocol.debug=true"_s << QStringList{protocol};
        QTest::newRow("all on, one off")
            << u"kovferrit.*.debug=true\nkovferrit.platform.debug=false"_s
            << QStringList{foundation, protocol};
        QTest::newRow("two layers on")
            << u"kovferrit.foundation.debug=true\nkovferrit.platform.debug=true"_s
            << QStringList{foundation, platform};
    }
    void rulesSwitchLayers()
    {
        const auto [rules, expected] = Columns<QString, QStringList>::fetch();
        g_logged.clear();
        QLoggingCategory::setFilterRules(rules);
        const QtMessageHandler before = qInstallMessageHandler(keepLine);
        kov::urlEncode(QString());
        {
            const FolderLock lock(u"no-such-folder/x.lock"_s);
        }
        QuibRequest().queryString(nullptr, QuibFunction::GetJobs);
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(g_logged, expected);
        // The lines reach the trace channel whatever the rules say.
        QCOMPARE(env->trace.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
