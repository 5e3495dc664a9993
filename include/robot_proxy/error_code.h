#pragma once

/// @file
/// The error-code catalogue: one message template per robot-message code, in two forms.
///
/// - Qt form, with "%1", "%2", ... placeholders, translated in the context "ErrorCode" and held in
///   ErrorCode::trMap (filled by ErrorCode::buildTransMap()).
/// - Plain form, with "{}" placeholders, returned by temla::error_stack::errorCode2Str().
///
/// Both forms come from one table. In every template the placeholders appear in ascending order,
/// each at most once, so the n-th "{}" stands for "%n". The only other difference between the forms is
/// that a line feed of the Qt form is written as the two characters backslash and 'n' in the plain form
/// (code 30092). A '%' not followed by a digit is literal in both forms (code 30307).
///
/// Code -1 and every code the catalogue does not list answer "Max error code" (kMaxErrorCode).

#include <QMap>
#include <QString>

#include "robot_proxy/export.h"

/// The plain form of the error-code catalogue.
namespace temla::error_stack
{

/// The template of code -1 and of every unlisted code. Message dispatch compares the template it
/// obtained with this exact text to recognise an unknown code.
inline constexpr char kMaxErrorCode[] = "Max error code";

/// The untranslated ("{}" form) template of `code`, UTF-8, NUL-terminated; never null. The pointer
/// refers to static storage and stays valid for the life of the process. No allocation, no locking,
/// callable from any thread and before any ErrorCode::buildTransMap().
ROBOT_PROXY_EXPORT const char *errorCode2Str(int code) noexcept;

}  // namespace temla::error_stack

/// The translated error-code catalogue (Qt form); see this file's description.
class ROBOT_PROXY_EXPORT ErrorCode
{
public:
    /// Code to translated template (Qt form). Empty until the first buildTransMap(); afterwards it holds
    /// the 527 catalogue entries (plus whatever else was inserted; it is never cleared or shrunk).
    //
    /// buildTransMap() replaces the map and publishes an immutable copy for lookup() and snapshot(),
    /// which therefore take no lock per call and answer what the last rebuild stored. A thread that may run
    /// while another thread calls buildTransMap() (the realtime message callback, for instance) must read it
    /// through lookup() or snapshot(), never directly. Direct access is only safe where no buildTransMap()
    /// can run at the same time.
    static QMap<int, QString> trMap;

    /// A second map of the same type, created empty with trMap; this library never fills or reads it.
    static QMap<int, QString> trRetvalMap;

    /// Fills trMap: for each catalogue row in ascending code order, then -1 last, stores
    /// QCoreApplication::translate("ErrorCode", template) under the code (insert or replace), so the
    /// texts follow the translators installed at the time of the call. Safe against concurrent
    /// lookup()/snapshot() and against concurrent buildTransMap() calls.
    static void buildTransMap();

    /// The shared lookup used by RobotProxy::getErrorCodeMsg and the robot message dispatch: the
    /// template of `code` with placeholders unfilled. trMap's value when trMap holds the code,
    /// otherwise errorCode2Str(code) decoded from UTF-8 (so "Max error code" for an unlisted code).
    /// Does not modify the map; safe from any thread.
    static QString lookup(int code);

    /// A consistent copy of trMap (cheap: implicitly shared), safe from any thread.
    static QMap<int, QString> snapshot();
};
