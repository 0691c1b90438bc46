#pragma once

#include <gst/gst.h>
#include <memory>

namespace qiravon::gst {

struct ObjectUnref
{
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct MessageUnref
{
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct ErrorFree
{
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree
{
    void operator()(gpointer memory) const { g_free(memory); }
};

using ElementPtr = std::unique_ptr<GstElement, ObjectUnref>;
using BusPtr = std::unique_ptr<GstBus, ObjectUnref>;
using PadPtr = std::unique_ptr<GstPad, ObjectUnref>;
using MessagePtr = std::unique_ptr<GstMessage, MessageUnref>;
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using CharPtr = std::unique_ptr<gchar, GFree>;

} // namespace qiravon::gst
