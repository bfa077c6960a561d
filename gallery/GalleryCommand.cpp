#include "gallery/GalleryCommand.h"

#include "platform/Captions.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Module.h"
#include "store/Query.h"

#include <QLabel>
#include <QLocale>

namespace velmora {

namespace {

// One run of a gallery command: the value it binds, its listing and its count.
class GalleryRun final {
public:
    GalleryRun(Services& services, TFrmRelatorios& page, const GalleryDef& def,
               const QString& choice, Form* chooser)
        : services_(services), def_(def), page_(page), value_(choice), chooser_(chooser) {}

    void run() {
        for (GalleryStep step : def_.steps) {
            if (!perform(step))
                return;
        }
    }

private:
    // False ends the command.
    bool perform(GalleryStep step) {
        switch (step) {
        case GalleryStep::RequireChoice:
            return value_.isEmpty() ? warn(def_.noChoiceWarning) : true;
        case GalleryStep::Entry:
            value_ = QLocale().toUpper(services_.dialogs.entry(programName, def_.prompt));
            return true;
        case GalleryStep::Listing:
            runListing();
            return true;
        case GalleryStep::StopIfNoEntry:
            return !value_.isEmpty();
        case GalleryStep::WarnIfEmpty:
            return listing_->isEmpty() ? warn(def_.emptyWarning) : true;
        case GalleryStep::Count:
            runCount();
            return true;
        case GalleryStep::Title:
            setTitle();
            return true;
        case GalleryStep::CloseIfNone:
            // A count above zero whose clubs all lack their country has no row either.
            if (count_ != QLatin1String("0") && !listing_->isEmpty())
                return true;
            services_.forms.close(chooser_);
            return warn(def_.emptyWarning);
        case GalleryStep::Fill:
            page_.fillFirstPage(std::move(listing_), def_.rule, def_.button);
            return true;
        case GalleryStep::CloseChooser:
            services_.forms.close(chooser_);
            return true;
        }
        return true;
    }

    bool warn(const QString& text) {
        services_.dialogs.message(programName, text, MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }

    Query::Params parameters() const {
        switch (def_.paramKind) {
        case ParamKind::None:
            return {};
        case ParamKind::Text:
            return {{def_.parameter, value_}};
        case ParamKind::Pattern:
            return {{def_.parameter, QLatin1Char('%') + value_ + QLatin1Char('%')}};
        case ParamKind::Integer:
            return {{def_.parameter, wholeNumber()}};
        }
        return {};
    }

    qint64 wholeNumber() const {
        bool ok = false;
        const qint64 number = value_.toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("\"%1\" não é um número inteiro.").arg(value_));
        return number;
    }

    void runListing() {
        listing_ = page_.newListing();
        listing_->run(def_.listing(), parameters());
    }

    void runCount() {
        count_ =
            services_.dm().counts.count(services_.dm().QueryTodosClubes, def_.count, parameters());
    }

    void setTitle() {
        const QString shown =
            def_.paramKind == ParamKind::Integer ? QString::number(wholeNumber()) : value_;
        page_.setTitle(def_.title(TitleInput{*listing_, shown, count_}));
        for (const TitlePicture& picture : def_.titlePictures) {
            const bool band = picture.box == TitlePicture::Box::Band;
            QLabel* box = band ? page_.ImgBandTitulo : page_.ImgFeder;
            if (picture.column < 0)
                clearPicture(box);
            else // the flag is stretched into its box, the logo keeps its own size
                showPicture(services_.pictures, box, listing_->field(picture.column), band);
            if (picture.visible)
                box->setVisible(*picture.visible);
        }
    }

    Services& services_;
    const GalleryDef& def_;
    TFrmRelatorios& page_;
    QString value_;
    Form* chooser_;
    std::unique_ptr<Query> listing_;
    QString count_;
};

} // namespace

TitleBuilder countedTitle(const QString& prefix) {
    return [prefix](const TitleInput& in) {
        return prefix + QStringLiteral(" (") + in.count + QLatin1Char(')');
    };
}

TitleBuilder countedTitleWithColumn(const QString& prefix, int column) {
    return [prefix, column](const TitleInput& in) {
        return prefix + in.first.field(column) + QStringLiteral(" (") + in.count + QLatin1Char(')');
    };
}

TitleBuilder countedTitleWithValue(const QString& prefix) {
    return [prefix](const TitleInput& in) {
        return prefix + in.value + QStringLiteral(" (") + in.count + QLatin1Char(')');
    };
}

void runGallery(Services& services, TFrmRelatorios& page, const GalleryDef& def,
                const QString& choice, Form* chooser) {
    guard(services.dialogs, [&] { GalleryRun(services, page, def, choice, chooser).run(); });
}

} // namespace velmora
