#include "hosted/gst/busreport.h"

#include "hosted/gst/gstptr.h"

#include <gst/pbutils/missing-plugins.h>

namespace qiravon::gst {

namespace {

FailureFacts::Domain domainOf(GQuark domain)
{
    if (domain == GST_CORE_ERROR)
        return FailureFacts::Domain::Core;
    if (domain == GST_LIBRARY_ERROR)
        return FailureFacts::Domain::Library;
    if (domain == GST_RESOURCE_ERROR)
        return FailureFacts::Domain::Resource;
    if (domain == GST_STREAM_ERROR)
        return FailureFacts::Domain::Stream;
    return FailureFacts::Domain::Other;
}

QByteArray headerValue(const GstStructure* headers, const char* wanted)
{
    const int n = gst_structure_n_fields(headers);
    for (int i = 0; i < n; ++i) {
        const char* name = gst_structure_nth_field_name(headers, static_cast<guint>(i));
        if (g_ascii_strcasecmp(name, wanted) != 0)
            continue;
        const GValue* value = gst_structure_get_value(headers, name);
        if (G_VALUE_HOLDS_STRING(value))
            return QByteArray(g_value_get_string(value));
    }
    return {};
}

BusReport errorReport(GstMessage* message)
{
    BusReport report;
    report.kind = BusReport::Kind::Error;
    GError* raw = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &raw, &debug);
    const ErrorPtr error{raw};
    const CharPtr debugText{debug};
    report.debugText = QString::fromUtf8(debugText.get());
    if (!error)
        return report;
    report.errorText = QString::fromUtf8(error->message);
    FailureFacts& f = report.failure;
    f.domain = domainOf(error->domain);
    f.notFound = error->domain == GST_RESOURCE_ERROR && error->code == GST_RESOURCE_ERROR_NOT_FOUND;
    f.missingPlugin =
        error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN;
    f.outputFailed =
        error->domain == GST_RESOURCE_ERROR && (error->code == GST_RESOURCE_ERROR_OPEN_WRITE ||
                                                error->code == GST_RESOURCE_ERROR_OPEN_READ_WRITE ||
                                                error->code == GST_RESOURCE_ERROR_WRITE);
    f.typeNotFound =
        error->domain == GST_STREAM_ERROR && (error->code == GST_STREAM_ERROR_TYPE_NOT_FOUND ||
                                              error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND ||
                                              error->code == GST_STREAM_ERROR_WRONG_TYPE);
    return report;
}

std::optional<BusReport> tagReport(GstMessage* message)
{
    BusReport report;
    report.kind = BusReport::Kind::Tags;
    GstTagList* tags = nullptr;
    gst_message_parse_tag(message, &tags);
    gchar* title = nullptr;
    if (gst_tag_list_get_string(tags, GST_TAG_TITLE, &title)) {
        report.title = QString::fromUtf8(title);
        g_free(title);
    }
    guint bitrate = 0;
    if (gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate) ||
        gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate))
        report.bitrateKbps = static_cast<int>((bitrate + 500) / 1000);
    gst_tag_list_unref(tags);
    if (!report.title && report.bitrateKbps <= 0)
        return std::nullopt;
    return report;
}

std::optional<BusReport> elementReport(GstMessage* message)
{
    const GstStructure* s = gst_message_get_structure(message);
    BusReport report;
    if (gst_is_missing_plugin_message(message)) {
        report.kind = BusReport::Kind::MissingPlugin;
        report.failure.missingPlugin = true;
        const GstCaps* caps = nullptr;
        if (gst_structure_get(s, "detail", GST_TYPE_CAPS, &caps, nullptr) && caps) {
            if (!gst_caps_is_empty(caps) && !gst_caps_is_any(caps))
                report.failure.missingCaps =
                    gst_structure_get_name(gst_caps_get_structure(caps, 0));
            gst_caps_unref(const_cast<GstCaps*>(caps));
        }
        const CharPtr description{gst_missing_plugin_message_get_description(message)};
        report.missingPlugin = QString::fromUtf8(description.get());
        return report;
    }
    if (!s || !gst_structure_has_name(s, "http-headers"))
        return std::nullopt;
    report.kind = BusReport::Kind::HttpHeaders;
    guint code = 0;
    if (gst_structure_get_uint(s, "http-status-code", &code) && code > 0) {
        report.failure.sawResponse = true;
        report.failure.httpStatus = static_cast<int>(code);
    }
    GstStructure* headers = nullptr;
    if (gst_structure_get(s, "response-headers", GST_TYPE_STRUCTURE, &headers, nullptr) &&
        headers) {
        report.failure.contentType = headerValue(headers, "Content-Type");
        gst_structure_free(headers);
    }
    return report;
}

} // namespace

std::optional<BusReport> decodeBusMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        return errorReport(message);
    case GST_MESSAGE_EOS: {
        BusReport report;
        report.kind = BusReport::Kind::EndOfStream;
        return report;
    }
    case GST_MESSAGE_BUFFERING: {
        BusReport report;
        report.kind = BusReport::Kind::Buffering;
        gint percent = 0;
        gst_message_parse_buffering(message, &percent);
        report.bufferPercent = percent;
        return report;
    }
    case GST_MESSAGE_TAG:
        return tagReport(message);
    case GST_MESSAGE_ELEMENT:
        return elementReport(message);
    default:
        return std::nullopt;
    }
}

} // namespace qiravon::gst
