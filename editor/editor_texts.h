#pragma once
// The editor's own captions and messages (UTF-8; Qt shows them as they are).

namespace editor::texts {

inline constexpr const char* kTitle = "梦想风铃谷OL - 地图编辑器";
inline constexpr const char* kTitleSuffix = " - 梦想风铃谷OL - 地图编辑器";

inline constexpr const char* kNotAMap = "此文件不是风铃谷地图文件!!";
inline constexpr const char* kNotAMapTitle1 = "错误1";
inline constexpr const char* kNotAMapTitle2 = "错误2";
inline constexpr const char* kLoading = "正在载入地图数据...";
inline constexpr const char* kSaveDialog = "保存地图";
inline constexpr const char* kLoadDialog = "载入地图";
inline constexpr const char* kMapFilter = "风铃谷文件(*.Wdm)";
inline constexpr const char* kAllFilesFilter = "所有文件(*.*)";
inline constexpr const char* kChooseDir = "选择一个地图文件目录:";
inline constexpr const char* kUpDir = "返回上一级目录";
inline constexpr const char* kCloseQuestion = "地图编辑器中已经绘制数据 是否直接退出?";

inline constexpr const char* kTypeEmpty = "类型不能为空!!";
inline constexpr const char* kSpriteTypeRange = "精灵类型超出范围!!";
inline constexpr const char* kDeleteSprite = "确定要删除此精灵吗?";
inline constexpr const char* kDeleteSquare = "确定要删除此[正方形]吗?";
inline constexpr const char* kDeleteSlope = "确定要删除此[三角形]吗?";
inline constexpr const char* kDeleteStair = "确定要删除此[楼梯]吗?";
inline constexpr const char* kDeleteEvent = "确定要删除此[地图链接]吗?";

inline constexpr const char* kNotOnSquare = "请设置到固定正方形上!";
inline constexpr const char* kNeedAnimationId = "请先填好动画ID!";
inline constexpr const char* kNeedNpcId = "请先填好NPC ID!";
inline constexpr const char* kNeedMonsterId = "请先填好怪物ID!";
inline constexpr const char* kNeedLinkMap = "请先填好[地图编号]再画链接";
inline constexpr const char* kEventNumberNegative = "事件序号不能小于0 ";

inline constexpr const char* kHelpLine = "说明:地层如果为0 就是默认地层 偏左为-1则在指定地层上随机偏左";

// Refusals of this editor beyond the ones above.
inline constexpr const char* kGroundTypeRange = "地层类型超出范围!!";
inline constexpr const char* kNumberRange = "序号超出范围!!";
inline constexpr const char* kBoxTooSmall = "宽度和高度不能小于10!!";
inline constexpr const char* kSpriteTooSmall = "宽度和高度不能小于1!!";
inline constexpr const char* kPictureOutsideData = "图片必须放在程序的data目录下!!";
inline constexpr const char* kNotAPicture = "此文件不是图片!!";
inline constexpr const char* kBadText = "文字中含有地图文件的分隔符或无法保存的字符!!";
inline constexpr const char* kSquareInUse = "此正方形上还有事件, 不能删除!!";
inline constexpr const char* kSaveFailed = "保存失败!!";
inline constexpr const char* kBadGroundNumbers = "以下地层编号没有对应的正方形:";
inline constexpr const char* kSaveAnyway = "仍然保存吗?";
inline constexpr const char* kRecover = "上次编辑的地图没有保存, 是否恢复?";
inline constexpr const char* kUnsavedLoad = "地图编辑器中已经绘制数据 是否放弃并载入?";
inline constexpr const char* kNoGame = "找不到游戏程序!!";
inline constexpr const char* kDeleteSelection = "确定要删除选中的%1个对象吗?";
inline constexpr const char* kUntitled = "未命名";
inline constexpr const char* kNoProblems = "没有发现问题";
inline constexpr const char* kInfoTitle = "提示";
inline constexpr const char* kErrorTitle = "错误";

}  // namespace editor::texts
