#include "tools/pagetext.h"

#include <QList>
#include <QStringDecoder>

#include <gumbo.h>

#include <memory>
#include <vector>

namespace {

// The page comes from the web: read it in the charset the server names, else the one its
// byte-order mark or <meta> names, else UTF-8. gumbo reads only UTF-8.
QByteArray pageAsUtf8(const QByteArray &page, const QByteArray &contentType)
{
    QStringDecoder decoder;
    for (const QByteArray &param : contentType.split(';')) {
        const QByteArray p = param.trimmed();
        if (p.toLower().startsWith("charset=")) {
            QByteArray name = p.mid(8).trimmed();
            if (name.size() >= 2 && (name.startsWith('"') || name.startsWith('\'')))
                name = name.mid(1, name.size() - 2);
            decoder = QStringDecoder(name.constData());
        }
    }
    if (!decoder.isValid())
        decoder = QStringDecoder::decoderForHtml(page);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return QString(decoder.decode(page)).toUtf8();
}

QString fromGumbo(const char *text)
{
    return QString::fromUtf8(text);
}

QString tagName(const GumboElement &e)
{
    if (e.tag != GUMBO_TAG_UNKNOWN) {
        const char *name = gumbo_normalized_tagname(e.tag);
        if (e.tag_namespace == GUMBO_NAMESPACE_SVG) {
            if (const char *svg = gumbo_normalize_svg_tagname(&e.original_tag))
                name = svg;
        }
        return fromGumbo(name);
    }
    // An element the parser has no name for: its name as written, lower case for HTML.
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    QString name = QString::fromUtf8(piece.data, qsizetype(piece.length));
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i).isSpace() || name.at(i) == u'/') {
            name.truncate(i);
            break;
        }
    }
    return e.tag_namespace == GUMBO_NAMESPACE_HTML ? name.toLower() : name;
}

bool isVoid(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_AREA: case GUMBO_TAG_BASE: case GUMBO_TAG_BASEFONT: case GUMBO_TAG_BGSOUND:
    case GUMBO_TAG_BR: case GUMBO_TAG_COL: case GUMBO_TAG_EMBED: case GUMBO_TAG_FRAME:
    case GUMBO_TAG_HR: case GUMBO_TAG_IMG: case GUMBO_TAG_INPUT: case GUMBO_TAG_KEYGEN:
    case GUMBO_TAG_LINK: case GUMBO_TAG_META: case GUMBO_TAG_PARAM: case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK: case GUMBO_TAG_WBR:
        return true;
    default:
        return false;
    }
}

// Text inside these elements is written as it stands (the serialisation of innerHTML).
bool isRawText(const GumboNode *parent)
{
    if (!parent || parent->type != GUMBO_NODE_ELEMENT
        || parent->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (parent->v.element.tag) {
    case GUMBO_TAG_STYLE: case GUMBO_TAG_SCRIPT: case GUMBO_TAG_XMP: case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_PLAINTEXT:
        return true;
    default:
        return false;
    }
}

bool isTablePart(const GumboElement &e)
{
    if (e.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (e.tag) {
    case GUMBO_TAG_TABLE: case GUMBO_TAG_CAPTION: case GUMBO_TAG_COLGROUP: case GUMBO_TAG_COL:
    case GUMBO_TAG_THEAD: case GUMBO_TAG_TBODY: case GUMBO_TAG_TFOOT: case GUMBO_TAG_TR:
    case GUMBO_TAG_TD: case GUMBO_TAG_TH:
        return true;
    default:
        return false;
    }
}

// How a character is written back, or an empty view when it stands as it is.
QStringView escaped(QChar c, bool attribute)
{
    switch (c.unicode()) {
    case u'&': return u"&amp;";
    case 0xA0: return u"&nbsp;";
    case u'"': return attribute ? u"&quot;" : u"\"";
    case u'<': return attribute ? u"<" : u"&lt;";
    case u'>': return attribute ? u">" : u"&gt;";
    default: return {};
    }
}

const GumboVector &childrenOf(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                             : node->v.element.children;
}

bool hasChildren(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT || node->type == GUMBO_NODE_ELEMENT
        || node->type == GUMBO_NODE_TEMPLATE;
}

// Markup written up to PageMaxText characters: tags go in whole or not at all, text as far as
// it fits. Once something did not fit, nothing more is written.
class MarkupWriter {
public:
    QString text;
    bool full = false;

    void add(QStringView piece)
    {
        if (full || text.size() + piece.size() > PageMaxText)
            full = true;
        else
            text += piece;
    }

    void addText(QStringView raw, bool escape, bool attribute = false)
    {
        for (qsizetype i = 0; i < raw.size() && !full; ++i) {
            // A surrogate pair is one character: never cut between its halves.
            if (raw[i].isHighSurrogate() && i + 1 < raw.size()) {
                add(raw.mid(i, 2));
                ++i;
            } else {
                const QStringView e = escape ? escaped(raw[i], attribute) : QStringView();
                add(e.isEmpty() ? raw.mid(i, 1) : e);
            }
        }
    }

    // The inner markup of an element as a browser's innerHTML gives it. Walked with a stack of
    // its own: a hostile page nests elements far deeper than the call stack would take.
    void addInnerMarkup(const GumboNode *element);
};

void MarkupWriter::addInnerMarkup(const GumboNode *element)
{
    struct Step {
        const GumboNode *node;
        int depth;    // 1 for the paragraph's children
        int tables;   // tables around the node (itself included) inside the paragraph
        bool close;   // write the end tag of node
    };
    std::vector<Step> todo;
    const auto pushChildren = [&todo](const GumboNode *node, int depth, int tables) {
        const GumboVector &kids = childrenOf(node);
        for (unsigned i = kids.length; i-- > 0;)
            todo.push_back({static_cast<const GumboNode *>(kids.data[i]), depth, tables, false});
    };
    pushChildren(element, 1, 0);
    while (!todo.empty() && !full) {
        const Step step = todo.back();
        todo.pop_back();
        const GumboNode *n = step.node;
        switch (n->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            const GumboElement &e = n->v.element;
            const int tables = step.tables + (e.tag == GUMBO_TAG_TABLE ? 1 : 0);
            const bool tagged = step.depth <= PageMaxDepth
                && !(isTablePart(e) && tables > PageMaxTables);
            if (step.close) {
                if (tagged)
                    add(QString(QStringLiteral("</") + tagName(e) + u'>'));
                break;
            }
            if (tagged) {
                MarkupWriter tag;   // bounded like the text, so a huge attribute cannot slip in
                tag.add(QString(u'<' + tagName(e)));
                for (unsigned i = 0; i < e.attributes.length; ++i) {
                    const auto *a = static_cast<const GumboAttribute *>(e.attributes.data[i]);
                    tag.add(QString(u' ' + fromGumbo(a->name) + QStringLiteral("=\"")));
                    tag.addText(fromGumbo(a->value), true, true);
                    tag.add(u"\"");
                }
                tag.add(u">");
                if (tag.full)
                    full = true;
                else
                    add(tag.text);
            }
            if (e.tag_namespace == GUMBO_NAMESPACE_HTML && isVoid(e.tag))
                break;
            todo.push_back({n, step.depth, step.tables, true});
            pushChildren(n, step.depth + 1, tables);
            break;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            addText(fromGumbo(n->v.text.text), !isRawText(n->parent));
            break;
        case GUMBO_NODE_COMMENT:
            add(QString(QStringLiteral("<!--") + fromGumbo(n->v.text.text) + QStringLiteral("-->")));
            break;
        case GUMBO_NODE_DOCUMENT:
            break;
        }
    }
}

struct OutputDeleter {
    void operator()(GumboOutput *o) const { gumbo_destroy_output(&kGumboDefaultOptions, o); }
};

} // namespace

QString pageParagraphs(const QByteArray &page, const QByteArray &contentType)
{
    const QByteArray utf8 = pageAsUtf8(page, contentType);
    // Parse errors are not wanted, and recording them copies the stack of open elements for
    // each one: on a deeply nested page that alone takes minutes and gigabytes.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    const std::unique_ptr<GumboOutput, OutputDeleter> output(
        gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size())));
    if (!output)
        return PageErrorText;

    // Every paragraph in document order, nested ones included, as getElementsByTagName gives.
    MarkupWriter writer;
    bool anyContent = false;
    std::vector<const GumboNode *> todo{output->document};
    while (!todo.empty() && !writer.full) {
        const GumboNode *n = todo.back();
        todo.pop_back();
        if (!hasChildren(n))
            continue;
        if (n->type != GUMBO_NODE_DOCUMENT && n->v.element.tag == GUMBO_TAG_P) {
            const qsizetype before = writer.text.size();
            writer.addInnerMarkup(n);
            anyContent = anyContent || writer.text.size() > before;
            writer.add(u"<p></p>");
        }
        const GumboVector &kids = childrenOf(n);
        for (unsigned i = kids.length; i-- > 0;)
            todo.push_back(static_cast<const GumboNode *>(kids.data[i]));
    }
    return anyContent ? writer.text : PageErrorText;
}
