#include "platform/PrintQueue.h"

#include <cups/cups.h>

#include <memory>

namespace platform {

namespace {

struct DestsDeleter {
    int count;
    void operator()(cups_dest_t* dests) const { cupsFreeDests(count, dests); }
};

QString lastSchedulerError()
{
    const char* text = cupsLastErrorString();
    QString reason = text && *text ? QString::fromUtf8(text) : QStringLiteral("the print scheduler cannot be reached");
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason;
}

bool schedulerAnswers()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}

// Queue names may carry an instance ("office/draft"): the scheduler knows the queue by its first part.
QByteArray queueName(const QString& queue)
{
    return queue.section(QLatin1Char('/'), 0, 0).toUtf8();
}

// The words the scheduler keeps for the queue's state ("Out of paper"), which its list of queues leaves out.
QString stateMessage(const char* uri)
{
    if (!uri)
        return {};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-state-message");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    ipp_attribute_t* message = response ? ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT) : nullptr;
    const QString text = message ? QString::fromUtf8(ippGetString(message, 0, nullptr)).trimmed() : QString();
    ippDelete(response);
    return text;
}

} // namespace

PrintQueueState printQueueState(const QString& queue)
{
    PrintQueueState state;
    cups_dest_t* found = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queueName(queue).constData(), nullptr);
    if (!found) {
        state.reason = schedulerAnswers() ? QStringLiteral("the printer is not known to the print scheduler")
                                          : QStringLiteral("the print scheduler is not running");
        return state;
    }
    const std::unique_ptr<cups_dest_t, DestsDeleter> dest(found, DestsDeleter { 1 });
    const auto option = [&dest](const char* name) {
        return QString::fromUtf8(cupsGetOption(name, dest->num_options, dest->options));
    };
    state.found = true;
    state.accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
    state.paused = option("printer-state").toInt() == IPP_PSTATE_STOPPED;
    if (!state.accepting || state.paused) {
        state.reason = stateMessage(cupsGetOption("printer-uri-supported", dest->num_options, dest->options));
        // A queue stopped without a reason has the scheduler's own word for the state ("Paused", "Rejecting
        // Jobs"), which says no more than the state does.
        if (state.reason == QLatin1String("Paused") || state.reason == QLatin1String("Rejecting Jobs"))
            state.reason.clear();
    }
    if (!state.accepting && state.reason.isEmpty())
        state.reason = QStringLiteral("the printer is not accepting jobs");
    return state;
}

QString submitPrintJob(const PrintQueueJob& job)
{
    cups_option_t* options = nullptr;
    int count = 0;
    const QByteArray media = job.media.toUtf8();
    if (!media.isEmpty()) {
        count = cupsAddOption("media", media.constData(), count, &options);
        count = cupsAddOption("PageSize", media.constData(), count, &options);
    }
    count = cupsAddOption("copies", QByteArray::number(std::max(job.copies, 1)).constData(), count, &options);
    if (job.copies > 1)
        count = cupsAddOption("Collate", "true", count, &options);
    // Said every time: a queue whose default is two-sided would otherwise put sheet 2 behind sheet 1.
    count = cupsAddOption("sides", job.twoSided ? "two-sided-long-edge" : "one-sided", count, &options);
    count = cupsAddOption("Duplex", job.twoSided ? "DuplexNoTumble" : "None", count, &options);
    // The file's pages already have the paper's orientation: the queue must not turn them again.
    if (job.landscape)
        count = cupsAddOption("nolandscape", "true", count, &options);
    const int id = cupsPrintFile2(CUPS_HTTP_DEFAULT, queueName(job.queue).constData(),
        job.pdfPath.toLocal8Bit().constData(), job.title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    return id > 0 ? QString() : lastSchedulerError();
}

} // namespace platform
