#pragma once

#include "oracle/sessionquery.h"

#include <QStringView>
#include <array>

// The session grid's columns, named once. Column 0 is the grid's fixed header column (the row
// numbers); the others show one result column of the session query each.
enum GridColumn : int {
    colNo,
    colSid,
    colSerial,
    colStatus,
    colTerminal,
    colOsUser,
    colDbUser,
    colProgram,
    colLogonTime,
    colInstance,
};

// The classic list ends before the instance; the cluster-wide list shows it as well.
inline constexpr int kListColumns = colInstance;
inline constexpr int kClusterListColumns = colInstance + 1;

struct GridColumnSpec {
    GridColumn column;
    QStringView header;
    float width;              // twips
    ora::ResultColumn result; // what the search writes into it
};

// Header texts and widths as the window was designed, in grid order.
inline constexpr std::array<GridColumnSpec, kClusterListColumns> kGridColumns{{
    {colNo, u"No.", 400, ora::rcNone},
    {colSid, u"ｾｯｼｮﾝID", 800, ora::rcSid},
    {colSerial, u"ｼﾘｱﾙNo.", 800, ora::rcSerial},
    {colStatus, u"状態", 1250, ora::rcStatus},
    {colTerminal, u"端末名", 1250, ora::rcTerminal},
    {colOsUser, u"OSﾕｰｻﾞ名", 1250, ora::rcOsUser},
    {colDbUser, u"DBﾕｰｻﾞ名", 1250, ora::rcUsername},
    {colProgram, u"ﾌﾟﾛｸﾞﾗﾑ名", 2000, ora::rcProgram},
    {colLogonTime, u"ﾛｸﾞｲﾝ時刻", 1700, ora::rcLogonTime},
    {colInstance, u"ｲﾝｽﾀﾝｽ", 800, ora::rcInstance},
}};
