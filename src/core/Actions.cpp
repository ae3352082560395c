#include "Actions.h"

namespace korvan {

const QList<ActionInfo> &allActions()
{
    static const QList<ActionInfo> list = {
        {101, QStringLiteral("公司信息资料"), QStringLiteral("TFrmUserInfo")},
        {102, QStringLiteral("更改用户密码"), QStringLiteral("TfrmModPass")},
        {103, QStringLiteral("角色权限管理"), QStringLiteral("TFrmOperGl")},
        {104, QStringLiteral("数据备份恢复"), QStringLiteral("TFrmDataBack")},
        {105, QStringLiteral("系统数据清理"), QStringLiteral("TFrmDataClear")},
        {106, QStringLiteral("导入货品资料"), QStringLiteral("TfrmExcelImport")},
        {107, QStringLiteral("导入供应厂商"), QStringLiteral("TfrmExcelImport")},
        {108, QStringLiteral("压缩修复数据"), {}},
        {109, QStringLiteral("连接网络数据"), {}},
        {110, QStringLiteral("系统当前配置"), QStringLiteral("TfrmSysInfoGl")},
        {201, QStringLiteral("员工档案管理"), QStringLiteral("TfrmEmpMan")},
        {202, QStringLiteral("供货厂商管理"), QStringLiteral("TfrmCltMan")},
        {203, QStringLiteral("货品资料管理"), QStringLiteral("TFrmGoodGl")},
        {204, QStringLiteral("选项..."), QStringLiteral("TFrmCodeMan")},
        {205, QStringLiteral("货品类型设置"), QStringLiteral("TFrmTreeCodeMan")},
        {301, QStringLiteral("采购订单管理"), QStringLiteral("TFrmInCaigouDdGl")},
        {302, QStringLiteral("采购进货管理"), QStringLiteral("TFrmInCaiGouDeptGl")},
        {303, QStringLiteral("采购退货管理"), QStringLiteral("TFrmOutCaigouDeptGl")},
        {304, QStringLiteral("采购开票管理"), QStringLiteral("TfrmKPcaigouDeptGL")},
        {305, QStringLiteral("采购付款管理"), QStringLiteral("TfrmFkCaiGouDeptGl")},
        {306, QStringLiteral("采购订单查询"), QStringLiteral("TfrmInCaiGouDdCx")},
        {307, QStringLiteral("采购单据查询"), QStringLiteral("TFrmInCaiGouDeptCX")},
        {308, QStringLiteral("采购付款查询"), QStringLiteral("TfrmFkCaigouCX")},
        {309, QStringLiteral("采购开票查询"), QStringLiteral("TfrmKPcaigouCX")},
        {401, QStringLiteral("采购订单执行汇总"), QStringLiteral("TFrmCaigouDdTotalTj")},
        {402, QStringLiteral("采购订单执行明细"), QStringLiteral("TFrmCaigouDdDetailTj")},
        {403, QStringLiteral("供应厂商供货汇总"), QStringLiteral("TFrmGYScaigouTotalTj")},
        {404, QStringLiteral("供应厂商供货明细"), QStringLiteral("TfrmGYScaigouDetailTJ")},
        {405, QStringLiteral("货品采购汇总统计"), QStringLiteral("TFrmHPcaigouTotalTj")},
        {406, QStringLiteral("货品采购明细统计"), QStringLiteral("TfrmHPcaigouDetailTJ")},
        {407, QStringLiteral("采购开票汇总统计"), QStringLiteral("TfrmKPcaigouTotalTJ")},
        {408, QStringLiteral("采购开票明细统计"), QStringLiteral("TfrmKPcaigouDetailTJ")},
        {409, QStringLiteral("采购付款汇总统计"), QStringLiteral("TfrmFKcaigouTotalTJ")},
        {410, QStringLiteral("采购付款明细统计"), QStringLiteral("TfrmFKcaigouDetailTJ")},
        {411, QStringLiteral("采购订货明细统计"), QStringLiteral("TFrmDDcaigouDetailTJ")},
        {412, QStringLiteral("业务人员采购汇总"), QStringLiteral("TFrmEMPcaigouTotalTj")},
        {413, QStringLiteral("业务人员采购明细"), QStringLiteral("TFrmEMPcaigouDetailTJ")},
        {501, QStringLiteral("月旬日采购分析"), QStringLiteral("TfrmCaigouPriceFx")},
        {502, QStringLiteral("时间段采购分析"), QStringLiteral("TfrmCaigouGoodFx")},
        {503, QStringLiteral("应付帐款汇总分析"), QStringLiteral("TfrmFkChangeTotalFx")},
        {504, QStringLiteral("应付帐款明细分析"), QStringLiteral("TfrmFkChangeDetailFx")},
    };
    return list;
}

const ActionInfo *actionByCode(int code)
{
    for (const ActionInfo &a : allActions())
        if (a.code == code) return &a;
    return nullptr;
}

} // namespace korvan
