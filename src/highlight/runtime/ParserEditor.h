// What a parser needs of an editor it serves. The editor control implements it; tests use
// small fakes. A parser never owns its editors: an editor detaches itself before it goes away,
// and a parser that goes away tells its editors first.
#pragma once

class TCustomSourceMemoParser;

class TParserEditor
{
public:
    virtual ~TParserEditor() = default;
    // The parser's tables or settings changed: select the parser again, which re-reads its
    // settings and colours the text anew. May throw ESourceMemo.
    virtual void ParserChanged(TCustomSourceMemoParser& parser) = 0;
    // The parser is being destroyed; the editor must drop every reference to it.
    virtual void ParserDestroyed(TCustomSourceMemoParser& parser) { (void)parser; }
    // True while the editor sits in a form designer rather than a running program.
    virtual bool IsDesigning() const { return false; }
};
