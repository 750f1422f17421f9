<%@ Language=VBScript %>
<html>
<head>
<title>Form</title>
</head>
<body>
<% If Request.Form("name") <> "" Then %>
<p>Thank you, <%= Server.HTMLEncode(Request.Form("name")) %>.</p>
<% Else %>
<form action="<%= Request.ServerVariables("SCRIPT_NAME") %>" method="post">
<p>Name: <input type="text" name="name"> <input type="submit" value="Send"></p>
</form>
<% End If %>
</body>
</html>
