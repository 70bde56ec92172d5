#include "chart/ChartDialogViews.h"

#include "chart/ChartEditorDialog.h"
#include "chart/ChartEditorModel.h"
#include "chart/DeleteTemplateDialog.h"
#include "chart/TemplateChooserDialog.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "grid/GridWidget.h"

namespace kv::ui {

void registerChartDialogViews(DialogViews& views) {
    views.add<TemplateChooserModel>([](TemplateChooserModel& chooser, Prompter&, QWidget* parent) {
        TemplateChooserDialog shown(chooser, parent);
        return answerOf(shown);
    });
    views.add<ChartEditorModel>([](ChartEditorModel& editor, Prompter& prompter, QWidget* parent) {
        ChartEditorDialog shown(editor, parent);
        shown.gridWidget()->setPrompter(&prompter);
        shown.setPrompter(&prompter);
        return answerOf(shown);
    });
    views.add<DeleteTemplateModel>([](DeleteTemplateModel& dialog, Prompter& prompter, QWidget* parent) {
        DeleteTemplateDialog shown(dialog, prompter, parent);
        return answerOf(shown);
    });
}

} // namespace kv::ui
