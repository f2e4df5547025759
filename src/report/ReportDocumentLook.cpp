// The document's look: the code page it is read in, the emphasis and its
// colours, the paper, the marks and the zoom, each told by its signal when
// it changes.
#include "report/ReportDocument.h"

void ReportDocument::setCodePage(CodePage::Id codePage)
{
    if (codePage != m_setup.codePage)
        dropSheets();
    if (codePage == m_markup.codePage)
        return;
    m_markup.codePage = codePage;
    emit codePageChanged(codePage);
}

void ReportDocument::setVisual(bool on)
{
    if (m_markup.vsual == on)
        return;
    m_markup.vsual = on;
    emit markupChanged();
}

void ReportDocument::setEmphasisColors(const QColor &doubleWidth, const QColor &bold, const QColor &condensed)
{
    if (m_markup.doubleWidth == doubleWidth && m_markup.bold == bold && m_markup.condensed == condensed)
        return;
    m_markup.doubleWidth = doubleWidth;
    m_markup.bold = bold;
    m_markup.condensed = condensed;
    emit markupChanged();
}

void ReportDocument::setPaperColor(const QColor &paper)
{
    if (m_paper == paper)
        return;
    m_paper = paper;
    emit paperColorChanged(paper);
}

void ReportDocument::setSearchMark(const MarkLook &look)
{
    setMark(&m_searchMark, look);
}

void ReportDocument::setHighlightMark(const MarkLook &look)
{
    setMark(&m_highlightMark, look);
}

void ReportDocument::setMark(MarkLook *mark, const MarkLook &look)
{
    if (mark->colour == look.colour && mark->bold == look.bold)
        return;
    *mark = look;
    emit marksChanged();
}

void ReportDocument::setExtraLine(bool on)
{
    if (m_extraLine == on)
        return;
    m_extraLine = on;
    emit marksChanged();
}

void ReportDocument::setStoredLook(const ReportViewSettings &settings)
{
    setEmphasisColors(settings.doubleWidth, settings.bold, settings.condensed);
    setPaperColor(settings.reportBack);
    setSearchMark({settings.searchString, settings.searchBold});
    setHighlightMark({settings.highlight, settings.highlightBold});
    setExtraLine(settings.minusOneLine);
}

void ReportDocument::setZoom(bool zoomedIn, double viewPoints)
{
    if (m_markup.zoomedIn == zoomedIn && m_viewPoints == viewPoints)
        return;
    m_markup.zoomedIn = zoomedIn;
    m_viewPoints = viewPoints;
    emit zoomChanged(zoomedIn);
}
