<?xml version="1.0"?>
<!-- msgfmt in XML mode writes each translated element of the help page after the original,
     as a copy with xml:lang but no other attribute, and the translation as text. This puts
     the translation in the original's place, with its attributes, its text read as the
     markup it is, and gives the page the language's code:
       xsltproc -stringparam lang LANG help.xsl MERGED > help.LANG.html -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:h="http://www.w3.org/1999/xhtml">
  <xsl:output method="xml" encoding="utf-8" omit-xml-declaration="yes"/>
  <xsl:param name="lang"/>
  <xsl:template match="/">
    <xsl:text disable-output-escaping="yes">&lt;!DOCTYPE html&gt;&#10;</xsl:text>
    <xsl:apply-templates/>
  </xsl:template>
  <xsl:template match="@* | node()">
    <xsl:copy><xsl:apply-templates select="@* | node()"/></xsl:copy>
  </xsl:template>
  <xsl:template match="/h:html/@lang | /h:html/@xml:lang">
    <xsl:attribute name="{name()}"><xsl:value-of select="$lang"/></xsl:attribute>
  </xsl:template>
  <xsl:template match="/h:html//*[following-sibling::*[1]/@xml:lang]"/>
  <xsl:template match="text()[not(normalize-space())][following-sibling::node()[1]
                       [following-sibling::*[1]/@xml:lang]]"/>
  <xsl:template match="/h:html//*[@xml:lang]">
    <xsl:copy>
      <xsl:copy-of select="preceding-sibling::*[1]/@*"/>
      <xsl:value-of select="." disable-output-escaping="yes"/>
    </xsl:copy>
  </xsl:template>
</xsl:stylesheet>
