#include "core/xml.hpp"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<XMLDocument> Parse(std::string_view text) {
    return XMLParser().ParseString(text);
}

// The parser's message for text, or "" when it parses.
std::string ParseError(std::string_view text) {
    try {
        Parse(text);
    } catch (const XMLParseException& e) {
        return e.Message();
    }
    return "";
}

}  // namespace

TEST(XML, BuildsTheTree) {
    auto doc = Parse(
        "<?xml version=\"1.0\"?>\n"
        "<!-- the acts -->\n"
        "<acts name=\"one\">\n"
        "  before <location id='a' open>\n"
        "    <action type=job dialogue=\"x\"/>\n"
        "    <action type=\"battle\" />\n"
        "    <action type=\"job\" level=\"2\"></action>\n"
        "  </location> after\n"
        "  <note><![CDATA[ raw <b>&amp; ]]></note>\n"
        "</acts>\n");
    ASSERT_EQ(doc->pi.Count(), 1);
    XMLElement* pi = doc->pi.Get(0);
    EXPECT_EQ(pi->Name(), "xml");
    EXPECT_EQ(pi->pi, 1);
    EXPECT_EQ(pi->GetAttribute("version"), "1.0");

    XMLElement* root = doc->Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), "acts");
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(root->GetAttribute("name"), "one");
    EXPECT_EQ(root->value, "beforeafter");  // trimmed runs joined with nothing between
    ASSERT_EQ(root->Children().Count(), 2);

    XMLElement* location = root->Children().Get(0);
    EXPECT_EQ(location->parent, root);
    EXPECT_EQ(location->GetAttribute("id"), "a");
    EXPECT_EQ(location->HasAttribute("open"), 1);  // no "=" and value: the empty string
    EXPECT_EQ(location->GetAttribute("open", "dflt"), "");
    EXPECT_EQ(location->GetAttribute("missing", "dflt"), "dflt");
    EXPECT_EQ(location->GetAttribute("", "dflt"), "");
    EXPECT_EQ(location->HasAttribute(""), 0);
    ASSERT_EQ(location->Children().Count(), 3);
    EXPECT_EQ(location->Children().Get(0)->GetAttribute("type"), "job");  // unquoted value

    auto jobs = location->GetChildrenByName("action", "type=job");
    ASSERT_EQ(jobs.Count(), 2);
    EXPECT_EQ(jobs.Get(0), location->Children().Get(0));
    EXPECT_EQ(jobs.Get(1), location->Children().Get(2));
    EXPECT_EQ(location->GetChildrenByName("action", "type=job", "", "level=2").Count(), 1);
    EXPECT_EQ(location->GetChildrenByName("action").Count(), 3);
    EXPECT_EQ(location->GetChildrenByName("action", "type=jo").Count(), 0);
    EXPECT_EQ(location->GetChildrenByName("Action").Count(), 0);
    try {
        location->GetChildrenByName("");
        FAIL();
    } catch (const IllegalArgumentException& e) {
        EXPECT_EQ(e.Message(), "XMLElement.GetChildrenByName: findName must not be empty");
    }

    XMLElement* note = root->Children().Get(1);
    ASSERT_EQ(note->Children().Count(), 1);
    XMLElement* section = note->Children().Get(0);
    EXPECT_EQ(section->cdata, 1);
    EXPECT_EQ(section->value, " raw <b>&amp; ");  // raw: not trimmed, not unescaped
    EXPECT_EQ(note->value, "");
}

TEST(XML, Entities) {
    auto doc = Parse(
        "<a t=\"&lt;&gt;&quot;&apos;&amp;\" u='&amp;lt;' v=x&amp;y w=\"&#65;&nbsp;\">"
        "1 &lt; 2 &amp;&amp; &quot;q&quot; &amp;gt;</a>");
    XMLElement* a = doc->Root();
    EXPECT_EQ(a->GetAttribute("t"), "<>\"'&");
    EXPECT_EQ(a->GetAttribute("u"), "&lt;");  // "&amp;" goes last
    EXPECT_EQ(a->GetAttribute("v"), "x&y");
    EXPECT_EQ(a->GetAttribute("w"), "&#65;&nbsp;");  // no numeric or other entities
    EXPECT_EQ(a->value, "1 < 2 && \"q\" &gt;");
    EXPECT_EQ(XMLParser::XMLUnescape("&&amp;amp;&lt"), "&&amp;&lt");
}

TEST(XML, QuotesAttributesAndRepeats) {
    auto doc = Parse("<a k=\"it's\" m='say \"\"' k2=1 k2=2 e= z=\"\"/>");
    XMLElement* a = doc->Root();
    EXPECT_EQ(a->GetAttribute("k"), "it's");
    EXPECT_EQ(a->GetAttribute("m"), "say \"\"");
    EXPECT_EQ(a->GetAttribute("k2"), "2");  // a repeated key keeps the last value
    EXPECT_EQ(a->attributes.Count(), 5);
    EXPECT_EQ(a->GetAttribute("e", "d"), "");
    EXPECT_EQ(a->HasAttribute("z"), 1);
    EXPECT_EQ(a->MatchesAttribute("k=it's"), 1);
    EXPECT_EQ(a->MatchesAttribute("k=it"), 0);

    // A double quote in text hides the tags up to the next one.
    auto hidden = Parse("<a>say \"<b></b>\" ok</a>");
    EXPECT_EQ(hidden->Root()->Children().Count(), 0);
    EXPECT_EQ(hidden->Root()->value, "say \"<b></b>\" ok");

    // Comments and doctype are skipped, their quotes too.
    auto skipped = Parse("<!DOCTYPE a><a>x<!-- \" <b> -->y</a>");
    EXPECT_EQ(skipped->Root()->value, "xy");
    EXPECT_EQ(skipped->Root()->Children().Count(), 0);
    EXPECT_EQ(Parse("<!-- c --><![cdata[ignored]]><a/>")->Root()->Name(), "a");
}

TEST(XML, EveryErrorMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "XMLParser.ParseString: Something seriously wrong... no tags!"},
        {"just text", "XMLParser.ParseString: Something seriously wrong... no tags!"},
        {"<?xml?><!-- c -->", "XMLParser.ParseString: Error parsing XML: no document tag found."},
        {"<a><b</a>", "XMLParser.CacheControlCharacters: Invalid less than!"},
        {"<a>></a>", "XMLParser.CacheControlCharacters: Invalid greater than!"},
        {"<a><!x></a>", "XMLParser.CacheControlCharacters: Invalid prolog."},
        {"<a>\"</a>", "XMLParser.CacheControlCharacters: Unclosed quote!"},
        {"<a></a", "XMLParser.CacheControlCharacters: Unclosed tag!"},
        {"<a><!-- x</a>", "XMLParser.CacheControlCharacters: Unclosed comment!"},
        {"<a><![CDATA[ x</a>", "XMLParser.CacheControlCharacters: Unclosed cdata!"},
        {"<?xml <a></a>", "XMLParser.CacheControlCharacters: Unclosed processing instruction!"},
        {"<a>< /></a>", "XMLParser.ParseString: Closing tag \"\" does not match opening tag \"a\""},
        {"<a></b>", "XMLParser.ParseString: Closing tag \"b\" does not match opening tag \"a\""},
        {"<a></A>", "XMLParser.ParseString: Closing tag \"A\" does not match opening tag \"a\""},
        {"</a>", "XMLParser.ParseString: Closing tag found outside main document tag."},
        {"<a></a></a>", "XMLParser.ParseString: Closing tag found outside main document tag."},
        {"<a>< ></a>", "XMLParser.ParseString: Empty tag."},
        {"<><a/>", "XMLParser.ParseString: Empty tag."},
        {"<? ?><a/>", "XMLParser.ParseString: Empty processing instruction."},
        {"<a b = \"c\"/>", "XMLParser.GetTagContents: Error reading attribute key."},
        {"<a =x/>", "XMLParser.GetTagContents: Error reading attribute key."},
        {"<a b=c'd/>", "XMLParser.GetTagContents: Unexpected single quote detected in attribute value."},
        {"<a b='c/>", "XMLParser.GetTagContents: Unclosed quote detected."},
        {"<a b=c\"d\" />", "XMLParser.GetTagContents: Unexpected double quote detected in attribute value."},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(ParseError(text), message) << text;
    // Pass 1 faults come first, in the order quote, tag, comment, cdata, instruction.
    EXPECT_EQ(ParseError("<a \""), "XMLParser.CacheControlCharacters: Unclosed quote!");
}

TEST(XML, TruncatedAndTrailingInputIsRejected) {
    EXPECT_EQ(ParseError("<acts><location id=\"a\"><action dialogue=\"x\"/>"),
              "XMLParser.ParseString: Unclosed element \"location\".");
    EXPECT_EQ(ParseError("<acts>text"), "XMLParser.ParseString: Unclosed element \"acts\".");
    EXPECT_EQ(ParseError("<a/><b></b>"),
              "XMLParser.ParseString: Closing tag found outside main document tag.");
    EXPECT_EQ(ParseError("<a></a><b/>"),
              "XMLParser.ParseString: Closing tag found outside main document tag.");
    EXPECT_EQ(ParseError("<a></a><b>"),
              "XMLParser.ParseString: Closing tag found outside main document tag.");
    // Comments, instructions and text after the root change nothing.
    auto doc = Parse("<a>x</a><!-- done --><?end?> trailing");
    EXPECT_EQ(doc->Root()->value, "x");
    EXPECT_EQ(doc->pi.Count(), 1);
    EXPECT_EQ(Parse("<a/>")->Root()->Name(), "a");
}

TEST(XML, ShortOpenersNeverReadPastTheText) {
    // Each of these ends inside an opener; the look-aheads are bounded (the sanitizer checks).
    for (std::string text :
         {"<a/><!", "<a/><!-", "<a/><![CDAT", "<a/><!DOC", "<a/><", "<a/><?", "<a/><?>", "<?>"}) {
        // Copy into an exact-size buffer so a read past the end is caught.
        std::unique_ptr<char[]> buf(new char[text.size()]);
        std::copy(text.begin(), text.end(), buf.get());
        EXPECT_NE(ParseError(std::string_view(buf.get(), text.size())), "") << text;
    }
    EXPECT_EQ(ParseError("<a/><!"), "XMLParser.CacheControlCharacters: Invalid prolog.");
    EXPECT_EQ(ParseError("<a/><!-"), "XMLParser.CacheControlCharacters: Invalid prolog.");
    // "<?>" is an instruction with nothing inside, not an opener that swallows what follows.
    EXPECT_EQ(ParseError("<?><a/>"), "XMLParser.ParseString: Empty processing instruction.");
    EXPECT_EQ(ParseError("<a/><?>"), "XMLParser.ParseString: Empty processing instruction.");
    EXPECT_EQ(ParseError("<?"
                         "?><a/>"),
              "XMLParser.ParseString: Empty processing instruction.");
    EXPECT_EQ(ParseError("<a/><![CDATA["), "XMLParser.CacheControlCharacters: Unclosed cdata!");
    auto doc = Parse("<a><![CDATA[]]></a>");
    ASSERT_EQ(doc->Root()->Children().Count(), 1);
    EXPECT_EQ(doc->Root()->Children().Get(0)->value, "");
}

TEST(XML, ElementOperations) {
    XMLElement parent("p");
    XMLElement child("c", &parent);
    EXPECT_EQ(child.parent, &parent);
    EXPECT_EQ(parent.Children().Count(), 1);
    parent.AddChild(&child);  // the very same child is not added twice
    EXPECT_EQ(parent.Children().Count(), 1);
    XMLElement twin("c");
    parent.AddChild(&twin);
    EXPECT_EQ(parent.Children().Count(), 2);
    EXPECT_EQ(twin.parent, &parent);

    EXPECT_EQ(parent.SetAttribute("k", "1"), "");
    EXPECT_EQ(parent.SetAttribute("k", "2"), "1");
    EXPECT_EQ(parent.GetAttribute("k"), "2");
    try {
        parent.SetAttribute("", "v");
        FAIL();
    } catch (const IllegalArgumentException& e) {
        EXPECT_EQ(e.Message(), "XMLElement.SetAttribute: name must not be empty");
    }
    try {
        parent.Name2("");
        FAIL();
    } catch (const IllegalArgumentException& e) {
        EXPECT_EQ(e.Message(), "XMLElement.Name: name must not be empty");
    }
    parent.Name2("q");
    EXPECT_EQ(parent.Name(), "q");
    EXPECT_EQ(XMLAttribute("a", "b").Matches("a=b"), 1);
    EXPECT_EQ(XMLAttribute("a", "b").Matches("a=b "), 0);

    XMLDocument named("root");
    ASSERT_NE(named.Root(), nullptr);
    EXPECT_EQ(named.Root()->Name(), "root");
    EXPECT_EQ(XMLDocument("").Root(), nullptr);
    XMLDocument wrapped(&parent);
    EXPECT_EQ(wrapped.Root(), &parent);
}

TEST(XML, WideTagsKeepTheFirstPlaceOfARepeatedKeyAndChildrenAreAddedOnce) {
    // Repeats before, across and well after the point where a tag's keys are looked up instead of
    // searched: each replaces the value in the key's first place.
    std::string text = "<a";
    for (int i = 0; i < 40; ++i) text += " k" + std::to_string(i) + "=" + std::to_string(i);
    text += " k0=first k7=seventh k8=eighth k39=last k12 k40=new/>";
    auto doc = Parse(text);
    const XMLElement* a = doc->Root();
    ASSERT_EQ(a->attributes.Count(), 41);
    EXPECT_EQ(a->attributes.Get(0).value, "first");
    EXPECT_EQ(a->attributes.Get(7).value, "seventh");
    EXPECT_EQ(a->attributes.Get(8).value, "eighth");
    EXPECT_EQ(a->attributes.Get(12).value, "");
    EXPECT_EQ(a->attributes.Get(39).value, "last");
    EXPECT_EQ(a->attributes.Get(40).name, "k40");
    EXPECT_EQ(a->GetAttribute("k13"), "13");

    // A child taken over by another parent is still its first parent's, and is not added there
    // twice; the next parent gets it once.
    XMLElement first("p");
    XMLElement second("q");
    XMLElement child("c", &first);
    second.AddChild(&child);
    second.AddChild(&child);
    first.AddChild(&child);
    EXPECT_EQ(first.Children().Count(), 1);
    EXPECT_EQ(second.Children().Count(), 1);
    EXPECT_EQ(child.parent, &first);
}
